#include "app/backup/AutomaticBackupHooks.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "app/backup/DamageRepair.h"
#include "backup/AutoBackupSession.h"
#include "backup/DamagedDataStore.h"
#include "platform/Platform.h"

namespace backup {

namespace {

QWidget* ownerFor(QWidget* mainWindow) {
    QWidget* owner = QApplication::activeWindow();
    return owner != nullptr ? owner : mainWindow;
}

}  // namespace

void startAutomaticBackups(QWidget& mainWindow, const QString& programFolder,
                           const std::function<void()>& closeConnections) {
    autobackup::Session& session = autobackup::session();
    session.setReporter([mainWindow = QPointer<QWidget>(&mainWindow)](const QString& text) {
        platform::current().message(ownerFor(mainWindow), text, platform::MessageKind::Plain);
    });
    session.setDamageHandler([mainWindow = QPointer<QWidget>(&mainWindow), programFolder,
                              closeConnections](const QString& text) {
        repairWhileRunning(ownerFor(mainWindow), programFolder, text, closeConnections);
    });
    QTimer::singleShot(0, &mainWindow,
                       [programFolder] { autobackup::session().startOfRun(programFolder); });
}

void takeDaysCopyNow(const QString& programFolder) {
    autobackup::Session& session = autobackup::session();
    session.setReporter([](const QString& text) {
        platform::current().message(nullptr, text, platform::MessageKind::Plain);
    });
    session.startOfRun(programFolder);
    session.waitForCopy();
}

void finishAutomaticBackups(const QString& programFolder) {
    autobackup::Session& session = autobackup::session();
    session.setDamageHandler({});  // no windows are left to repair through
    session.setReporter([](const QString& text) {
        platform::current().message(nullptr, text, platform::MessageKind::Plain);
    });
    session.endOfRun(programFolder);
}

bool copyBeforeRestore(QWidget* owner, const QString& programFolder) {
    const autobackup::Result result = autobackup::session().beforeRestore(programFolder);
    if (!result.wasDue || !result.copies.isEmpty()) return true;
    // A damaged data store cannot be copied through the engine: it is kept byte for byte.
    const bool damaged = std::any_of(result.problems.begin(), result.problems.end(),
                                     [](const autobackup::Problem& p) { return p.damagedSource; });
    if (damaged && !keepDamagedDataStore(programFolder, QDateTime::currentDateTime()).isEmpty())
        return true;
    QStringList texts;
    for (const autobackup::Problem& problem : result.problems) texts << problem.text;
    const QString question = QStringLiteral("恢复之前未能备份现在的数据：\n%1\n\n仍要恢复吗？")
                                 .arg(texts.join(QLatin1Char('\n')));
    return platform::current().message(owner, question, platform::MessageKind::Confirm) ==
           platform::Answer::Ok;
}

}  // namespace backup
