#include "importing/ImportProgress.h"

#include <QCoreApplication>

#include "export/commands/ExportProgress.h"

namespace importing {

ImportProgress::ImportProgress(QWidget* owner, QString label, std::int64_t totalRows)
    : owner_(owner), label_(std::move(label)), totalRows_(totalRows) {}

ImportProgress::~ImportProgress() = default;

bool ImportProgress::operator()(std::int64_t rowsRead) {
    if (rowsRead <= kShownFrom) return true;
    if (!window_) {
        window_ = std::make_unique<exporting::ExportProgress>(owner_);
        window_->dialog().setWindowTitle(QStringLiteral("数据导入"));
        window_->dialog().setObjectName(QStringLiteral("ImportProgress"));
        if (totalRows_ <= 0) {
            window_->dialog().setRange(0, 0);  // the bar only shows that work goes on
            window_->dialog().show();
        }
    }
    if (totalRows_ > 0) {
        window_->dialog().setLabelText(label_);
        return (*window_)(rowsRead, totalRows_);
    }
    QProgressDialog& dialog = window_->dialog();
    dialog.setLabelText(label_ + QStringLiteral("（已读 %1 行）").arg(rowsRead));
    // The window is application modal: only it answers meanwhile.
    QCoreApplication::processEvents();
    return !dialog.wasCanceled();
}

}  // namespace importing
