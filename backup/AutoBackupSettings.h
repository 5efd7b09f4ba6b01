#pragma once

#include <QString>
#include <QtGlobal>

// The settings of the automatic copies and what the program remembers of the last one, in an INI
// file of the user's configuration folder (no window edits them; see the README).
namespace autobackup {

inline constexpr int kDefaultKeep = 30;

struct Settings {
    bool enabled = true;
    int keep = kDefaultKeep;  // newest copies kept in each folder, at least 1
    QString folder;           // empty: the folder "自动备份" beside data.mdb
    QString secondFolder;     // empty: none
};

// <XDG config folder>/Quenvar/quenvar-jxc.ini
QString defaultSettingsFile();

// Reads the settings; keys that are missing are written with their defaults so the user finds
// them in the file. A Keep that is not a whole number of at least 1 counts as the default.
Settings readSettings(const QString& settingsFile);

// What identifies the contents of the data store file on disk: any write changes its size or
// its modification time (nanoseconds).
struct Fingerprint {
    QString file;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const Fingerprint&) const = default;
};

// The fingerprint of file now; size -1 when it cannot be read.
Fingerprint fingerprintOf(const QString& file);

// The data store as it was when the last automatic copy was taken, kept in a file of its own
// beside the settings file ("quenvar-jxc.state" beside "quenvar-jxc.ini"), so the file the user
// edits is only ever written to add missing keys.
QString stateFileFor(const QString& settingsFile);
Fingerprint readLastCopied(const QString& settingsFile);
void writeLastCopied(const QString& settingsFile, const Fingerprint& fingerprint);

}  // namespace autobackup
