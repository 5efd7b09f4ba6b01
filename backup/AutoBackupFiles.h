#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The files of the automatic copies in one folder: "data-YYYYMMDD-HHMMSS.bak", and
// "data-YYYYMMDD-HHMMSS-N.bak" (N = 2, 3, ...) for further copies taken in the same second.
namespace autobackup {

struct CopyName {
    QDateTime taken;  // to the second
    int sequence = 1;
    bool operator<(const CopyName& other) const {
        return taken != other.taken ? taken < other.taken : sequence < other.sequence;
    }
};

QString copyFileName(const CopyName& name);
std::optional<CopyName> parseCopyFileName(const QString& fileName);

// The automatic copies in folder, oldest first. Other files are never counted nor touched.
std::vector<CopyName> copiesIn(const QString& folder);

// Whether folder holds a copy taken on day.
bool hasCopyOn(const QString& folder, const QDate& day);

// A name for a copy taken at moment that no file in any of folders has yet.
QString freeCopyFileName(const QStringList& folders, const QDateTime& moment);

// Removes what a copy interrupted by a crash or a power cut left in folder under its temporary
// names ("data-....bak.new", the store's scratch files, and "data-....bak.new.partial" of earlier
// versions), once it is older than an hour (a younger one may be another running copy's).
void removeLeftovers(const QString& folder);

// Deletes the oldest copies in folder beyond keep; the names it could not delete.
QStringList pruneCopies(const QString& folder, int keep);

// Empty when file opens with the program's password, passes the integrity check and holds the
// program's five tables; otherwise what is wrong with it.
QString verifyCopy(const QString& file);

}  // namespace autobackup
