#include "backup/AutoBackupSession.h"

#include <QThread>
#include <exception>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace autobackup {

namespace {

Result failure(const QString& text) {
    Result result;
    result.wasDue = true;
    result.problems.append({QString(), text});
    return result;
}

// The copy takes what the processor has left after the windows: on a busy machine it yields to
// them rather than slowing them down (a thread's own nice value on Linux; Qt's thread priorities
// do nothing there under the normal scheduler).
void yieldToTheWindows() {
#ifdef __linux__
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
#endif
}

// Nothing may escape a copy: the program goes on whatever happened to it.
Result runGuarded(AutoBackup backup, Occasion occasion) {
    try {
        return backup.run(occasion);
    } catch (const std::exception& error) {
        return failure(QStringLiteral("自动备份失败：%1").arg(QString::fromUtf8(error.what())));
    } catch (...) {
        return failure(QStringLiteral("自动备份失败。"));
    }
}

}  // namespace

Session::Session() = default;

Session::~Session() {
    if (worker_) worker_->wait();
}

QString Session::settingsFile() const {
    return settingsFile_.isEmpty() ? defaultSettingsFile() : settingsFile_;
}

AutoBackup Session::makeBackup(const QString& programFolder) const {
    AutoBackup backup(programFolder, settingsFile(),
                      clock_ ? clock_ : Clock([] { return QDateTime::currentDateTime(); }));
    if (verifier_) backup.setVerifier(verifier_);
    return backup;
}

void Session::startOfRun(const QString& programFolder) {
    waitForCopy();
    // Settings are read here, on this thread; the folders are only looked at on the worker (a
    // network folder may take its time to answer).
    AutoBackup backup = makeBackup(programFolder);
    worker_.reset(QThread::create([this, backup = std::move(backup)]() mutable {
        yieldToTheWindows();
        Result result = runGuarded(std::move(backup), Occasion::Start);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_ = std::move(result);
        }
        QMetaObject::invokeMethod(this, &Session::deliverIfDone, Qt::QueuedConnection);
    }));
    worker_->start();
}

void Session::deliverIfDone() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!pending_) return;  // delivered already by a wait
    }
    waitForCopy();
}

void Session::waitForCopy() {
    if (!worker_) return;
    worker_->wait();
    worker_.reset();
    std::optional<Result> result;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        result.swap(pending_);
    }
    if (result) report(*result);
    emit copyFinished();
}

Result Session::endOfRun(const QString& programFolder) {
    waitForCopy();
    Result result = runGuarded(makeBackup(programFolder), Occasion::End);
    report(result);
    return result;
}

Result Session::beforeRestore(const QString& programFolder) {
    waitForCopy();
    Result result = runGuarded(makeBackup(programFolder), Occasion::BeforeRestore);
    if (result.copies.isEmpty())
        markReported(result);
    else
        report(result);  // made in one folder, missing in another: told as usual
    return result;
}

void Session::report(const Result& result) {
    QStringList texts;
    QString damage;
    for (const Problem& problem : result.problems) {
        if (reported_.contains(problem.folder)) continue;
        if (problem.damagedSource && damageHandler_)
            damage = problem.text;
        else
            texts << problem.text;
    }
    markReported(result);
    if (!texts.isEmpty() && reporter_) reporter_(texts.join(QLatin1Char('\n')));
    if (!damage.isEmpty()) damageHandler_(damage);
}

void Session::markReported(const Result& result) {
    for (const Problem& problem : result.problems) reported_.insert(problem.folder);
}

Session& session() {
    static Session instance;
    return instance;
}

}  // namespace autobackup
