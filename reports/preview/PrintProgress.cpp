#include "reports/preview/PrintProgress.h"

#include "ui_PrintProgress.h"

namespace reports {

TPrintProgress::TPrintProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint),
      ui(std::make_unique<Ui::TPrintProgress>()) {
    ui->setupUi(this);
    ui->ProgressBar->setRange(0, 100);
    connect(ui->CancelButton, &QPushButton::clicked, this, &TPrintProgress::cancelRequested);
}

TPrintProgress::~TPrintProgress() = default;

QString TPrintProgress::completedText(int percent) {
    return QString::number(percent) + QStringLiteral("% ") + QStringLiteral(" Completed");
}

void TPrintProgress::setPercent(int percent) {
    if (percent % 5 != 0) return;
    ui->ProgressBar->setValue(percent);
    ui->ProgressText->setText(completedText(percent));
}

QString TPrintProgress::progressText() const { return ui->ProgressText->text(); }

int TPrintProgress::barValue() const { return ui->ProgressBar->value(); }

}  // namespace reports
