#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <cstdint>
#include <memory>

class QWidget;

namespace exporting {

// The progress window of an export that takes longer than a moment: modal, over owner, shown
// after a short delay, with a "取消" button. Used as the writer's progress callback. Closing it
// does not count as coming back from another window, so the owner does not re-read its list.
class ExportProgress {
  public:
    static constexpr int kShowAfterMs = 500;

    explicit ExportProgress(QWidget* owner);
    ~ExportProgress();
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    // Moves the bar and lets the window answer; false once the user chose "取消".
    bool operator()(std::int64_t done, std::int64_t total);

    QProgressDialog& dialog() { return *dialog_; }

  private:
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace exporting
