#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "backup/AutoBackupSettings.h"
#include "store/ServerSettings.h"

// Automatic copies of the data store: once a day, at the end of a run that changed the data, and
// before a restore replaces it. Each copy is the same kind of file as a manual backup, is checked
// before it gets its ".bak" name, and only then are the oldest copies beyond the number to keep
// deleted.
namespace autobackup {

enum class Occasion {
    Start,          // the first start of a day
    End,            // the program ends after the data changed
    BeforeRestore,  // a restore is about to replace the data store: always
};

using Clock = std::function<QDateTime()>;

// Something the user should hear of; folder says where, so it is told once per run.
struct Problem {
    QString folder;
    QString text;
    bool damagedSource = false;  // the data store itself is damaged, not the folder
};

struct Result {
    QStringList copies;  // the new verified copies (full paths), one per folder reached
    QList<Problem> problems;
    bool wasDue = false;  // a copy was wanted (whether or not it was made)
};

// One run of the rules over the data store in programFolder with the settings of settingsFile:
// data.mdb there, or the server the process keeps its data on (store::currentServer() when the
// run is made), whose copies are the same kind of file. Blocking; it opens connections of its
// own, so it may run on any thread.
class AutoBackup {
  public:
    AutoBackup(QString programFolder, QString settingsFile, Clock clock);

    QString dataFile() const;
    QStringList folders() const;  // the first folder, then the second one if set
    const Settings& settings() const noexcept { return settings_; }

    // How a new copy is checked; verifyCopy unless replaced (tests make it fail).
    using Verifier = std::function<QString(const QString& file)>;
    void setVerifier(Verifier verifier) { verifier_ = std::move(verifier); }

    bool isDue(Occasion occasion) const;
    // Takes a copy when one is due.
    Result run(Occasion occasion);

  private:
    bool damagedSource() const;
    Fingerprint dataFingerprint() const;
    Problem damaged(const QString& folder) const;
    bool copyInto(const QString& folder, const QString& fileName, const QString& madeCopy,
                  Result& result);

    QString programFolder_;
    QString settingsFile_;
    Clock clock_;
    Settings settings_;
    Verifier verifier_;
    std::optional<store::ServerSettings> server_;
};

}  // namespace autobackup
