#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

class QWidget;

// Offers to repair a damaged data.mdb from the newest automatic copy that passes its check,
// through the same restore as "【数据恢复】". The damaged file is kept beside it under its
// damaged name, never deleted.
namespace backup {

enum class RepairOutcome {
    NoGoodCopy,  // nothing was asked or changed
    Declined,    // the user said no; nothing changed
    Failed,      // the user was told; data.mdb is as it was
    Restored,    // "数据恢复成功！" was shown
};

// headline says what is wrong with the data store in dataFolder. The question names the copy's
// date and time and the name the damaged file is kept under; closeConnections runs before the
// file is replaced.
RepairOutcome offerRepair(QWidget* owner, const QString& dataFolder, const QString& headline,
                          const std::function<void()>& closeConnections,
                          const QDateTime& now = QDateTime::currentDateTime());

// The same while the program runs: without a good copy the user is told how to restore by hand;
// after a restore the program ends, as after "【数据恢复】", so that the next start opens the
// restored file.
void repairWhileRunning(QWidget* owner, const QString& dataFolder, const QString& headline,
                        const std::function<void()>& closeConnections);

}  // namespace backup
