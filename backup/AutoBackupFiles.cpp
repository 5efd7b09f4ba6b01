#include "backup/AutoBackupFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <exception>

#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/ScratchFiles.h"

namespace autobackup {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

}  // namespace

QString copyFileName(const CopyName& name) {
    QString text = QStringLiteral("data-") + name.taken.toString(kStampFormat);
    if (name.sequence > 1) text += QLatin1Char('-') + QString::number(name.sequence);
    return text + QStringLiteral(".bak");
}

std::optional<CopyName> parseCopyFileName(const QString& fileName) {
    static const QRegularExpression pattern(
        QStringLiteral("^data-(\\d{8}-\\d{6})(?:-([1-9]\\d{0,5}))?\\.bak$"));
    const auto match = pattern.match(fileName);
    if (!match.hasMatch()) return std::nullopt;
    CopyName name;
    name.taken = QDateTime::fromString(match.captured(1), kStampFormat);
    if (!name.taken.isValid()) return std::nullopt;
    name.sequence = match.hasCaptured(2) ? match.captured(2).toInt() : 1;
    if (name.sequence < 2 && match.hasCaptured(2)) return std::nullopt;  // "-1" is not ours
    return name;
}

std::vector<CopyName> copiesIn(const QString& folder) {
    std::vector<CopyName> copies;
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("data-*.bak")}, QDir::Files | QDir::Hidden);
    for (const QString& fileName : names)
        if (auto name = parseCopyFileName(fileName)) copies.push_back(*name);
    std::sort(copies.begin(), copies.end());
    return copies;
}

bool hasCopyOn(const QString& folder, const QDate& day) {
    const auto copies = copiesIn(folder);
    return std::any_of(copies.begin(), copies.end(),
                       [&](const CopyName& name) { return name.taken.date() == day; });
}

QString freeCopyFileName(const QStringList& folders, const QDateTime& moment) {
    CopyName name{QDateTime(moment.date(), QTime(moment.time().hour(), moment.time().minute(),
                                                 moment.time().second())),
                  1};
    const auto taken = [&folders](const QString& fileName) {
        for (const QString& folder : folders) {
            const QString file = QDir(folder).filePath(fileName);
            // A copy still being written or checked under its temporary name counts too.
            if (QFileInfo::exists(file) || QFileInfo::exists(file + QStringLiteral(".new")))
                return true;
        }
        return false;
    };
    while (taken(copyFileName(name))) ++name.sequence;
    return copyFileName(name);
}

void removeLeftovers(const QString& folder) {
    // Besides the store's scratch files, a copy not yet checked ("data-....bak.new") and the
    // scratch files of earlier versions ("data-....bak.new.partial").
    store::removeStaleScratchFiles(folder.toStdString(), [](std::string_view name) {
        const QString fileName =
            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        const qsizetype at = fileName.indexOf(QStringLiteral(".bak.new"));
        return at > 0 && parseCopyFileName(fileName.left(at + 4)).has_value();
    });
}

QStringList pruneCopies(const QString& folder, int keep) {
    QStringList failed;
    const auto copies = copiesIn(folder);
    const auto excess = static_cast<std::ptrdiff_t>(copies.size()) - std::max(keep, 1);
    for (std::ptrdiff_t k = 0; k < excess; ++k) {
        const QString fileName = copyFileName(copies[static_cast<std::size_t>(k)]);
        if (!QFile::remove(QDir(folder).filePath(fileName))) failed << fileName;
    }
    return failed;
}

QString verifyCopy(const QString& file) {
    try {
        const store::Database db(file.toStdString(), store::kDatabasePassword,
                                 store::Database::Mode::ReadOnly);
        store::Statement check(db, "pragma integrity_check");
        if (!check.step() || check.text(0) != "ok") return QStringLiteral("完整性检查未通过");
        for (const auto& table : store::schema::tables()) {
            store::Statement find(db,
                                  "select count(*) from sqlite_master where type = 'table' and "
                                  "name = ?");
            find.bindText(1, table.name);
            if (!find.step() || find.int64Value(0) != 1)
                return QStringLiteral("缺少数据表“%1”").arg(QString::fromStdString(table.name));
        }
        return {};
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    }
}

}  // namespace autobackup
