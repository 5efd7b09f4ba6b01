#include "export/commands/ExportProgress.h"

#include <algorithm>

namespace exporting {

ExportProgress::ExportProgress(QWidget* owner)
    : dialog_(std::make_unique<QProgressDialog>(QStringLiteral("正在导出数据..."),
                                                QStringLiteral("取消"), 0, 1000, owner)) {
    dialog_->setObjectName(QStringLiteral("ExportProgress"));
    dialog_->setWindowTitle(QStringLiteral("数据导出"));
    // Nothing else may run while the rows are being read: every window waits.
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(kShowAfterMs);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
}

ExportProgress::~ExportProgress() { dialog_->hide(); }

bool ExportProgress::operator()(std::int64_t done, std::int64_t total) {
    if (dialog_->wasCanceled()) return false;
    const int value = total > 0 ? static_cast<int>(done * 1000 / total) : 1000;
    dialog_->setValue(std::min(value, 999));  // the window stays until the file is complete
    // Once shown, the modal progress window lets events run in setValue; before that nothing
    // else runs, so no window can start a second command meanwhile.
    return !dialog_->wasCanceled();
}

}  // namespace exporting
