#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TPrintProgress;
}

namespace reports {

// The small "Printing progress" window shown while a report goes to the printer.
class TPrintProgress : public QDialog {
    Q_OBJECT
  public:
    explicit TPrintProgress(QWidget* parent = nullptr);
    ~TPrintProgress() override;

    // Shows the percentage when it is a multiple of 5 ("45%  Completed").
    void setPercent(int percent);
    QString progressText() const;
    int barValue() const;

    static QString completedText(int percent);

  signals:
    void cancelRequested();

  private:
    std::unique_ptr<Ui::TPrintProgress> ui;
};

}  // namespace reports
