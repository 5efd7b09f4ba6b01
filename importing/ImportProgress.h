#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace exporting {
class ExportProgress;
}

namespace importing {

// The progress window of a pass over a large file: the program's progress window with "取消",
// shown once more than kShownFrom rows were read. With the rows known (the import, after the
// preview counted them) the bar moves; without (the preview's reading) it shows that work goes
// on and how many rows were read. Used as ImportSettings::progress.
class ImportProgress {
  public:
    static constexpr std::int64_t kShownFrom = 5000;

    ImportProgress(QWidget* owner, QString label, std::int64_t totalRows = 0);
    ~ImportProgress();
    ImportProgress(const ImportProgress&) = delete;
    ImportProgress& operator=(const ImportProgress&) = delete;

    // false once the user chose "取消".
    bool operator()(std::int64_t rowsRead);

  private:
    QWidget* owner_;
    QString label_;
    std::int64_t totalRows_;
    std::unique_ptr<exporting::ExportProgress> window_;
};

}  // namespace importing
