#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "backup/AutoBackup.h"

class QThread;

namespace autobackup {

// The automatic copies of one run of the program. The day's copy runs on a thread of its own
// with its own connections, so the main window answers meanwhile; the copy at the end and the one
// before a restore wait for it first. Problems reach the reporter on the session's thread, each
// folder's at most once per run.
class Session : public QObject {
    Q_OBJECT
  public:
    using Reporter = std::function<void(const QString& text)>;

    Session();
    ~Session() override;

    void setSettingsFile(const QString& file) { settingsFile_ = file; }
    QString settingsFile() const;  // defaultSettingsFile() unless set
    void setClock(Clock clock) { clock_ = std::move(clock); }
    void setReporter(Reporter reporter) { reporter_ = std::move(reporter); }
    // Told instead of the reporter when a copy found the data store itself damaged, with the
    // text that says so; none: the reporter is told.
    void setDamageHandler(Reporter handler) { damageHandler_ = std::move(handler); }
    void setVerifier(AutoBackup::Verifier verifier) { verifier_ = std::move(verifier); }
    // Forgets what was reported, as at the start of a new run.
    void resetReports() { reported_.clear(); }

    // Starts the day's copy on its own thread when one is due; returns at once.
    void startOfRun(const QString& programFolder);
    bool isCopying() const { return worker_ != nullptr; }
    // Waits for the day's copy and reports what went wrong with it.
    void waitForCopy();
    // The copy at the end of a run, when the data changed since the last copy.
    Result endOfRun(const QString& programFolder);
    // The copy of the data a restore is about to replace. When no copy could be made its
    // problems are returned, not reported: the caller asks whether to restore all the same.
    Result beforeRestore(const QString& programFolder);

  signals:
    // The day's copy is done (made or not) and its problems were reported.
    void copyFinished();

  private:
    AutoBackup makeBackup(const QString& programFolder) const;
    void deliverIfDone();
    void report(const Result& result);
    void markReported(const Result& result);

    QString settingsFile_;
    Clock clock_;
    Reporter reporter_;
    Reporter damageHandler_;
    AutoBackup::Verifier verifier_;
    QSet<QString> reported_;  // folders whose problem the user was told of
    std::unique_ptr<QThread> worker_;
    std::mutex mutex_;
    std::optional<Result> pending_;  // the day's copy's result, until delivered
};

// The program's session.
Session& session();

}  // namespace autobackup
