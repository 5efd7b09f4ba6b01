#include "importing/records/MappingMemory.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QStringList>

#include "purchases/records/PurchaseFields.h"

namespace importing {

namespace {

// A key per header set: its headers as they are compared, hashed (a key holds no Chinese).
QString keyOf(const std::vector<std::string>& headers) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const auto& header : headers) {
        hash.addData(QByteArrayView(normalizedHeader(header)));
        hash.addData(QByteArrayView("\n", 1));
    }
    return QStringLiteral("ImportMapping/") + QString::fromLatin1(hash.result().toHex());
}

int fieldNamed(const QString& name) {
    for (int field = 0; field < purchases::kFieldCount; ++field)
        if (name.toStdString() == purchases::kFieldColumns[field]) return field;
    return kNotImported;
}

}  // namespace

std::optional<ColumnMapping> rememberedMapping(const QString& settingsFile,
                                               const std::vector<std::string>& headers) {
    const QSettings ini(settingsFile, QSettings::IniFormat);
    const QVariant stored = ini.value(keyOf(headers));
    if (!stored.isValid()) return std::nullopt;
    const QStringList names = stored.toStringList();
    if (static_cast<std::size_t>(names.size()) != headers.size()) return std::nullopt;
    ColumnMapping mapping;
    for (const auto& name : names) {
        const int field = fieldNamed(name);
        if (field == kNotImported && !name.isEmpty()) return std::nullopt;
        if (field != kNotImported && mapping.columnOf(field) >= 0) return std::nullopt;
        mapping.fieldOfColumn.push_back(field);
    }
    return mapping;
}

void rememberMapping(const QString& settingsFile, const std::vector<std::string>& headers,
                     const ColumnMapping& mapping) {
    QStringList names;
    for (std::size_t column = 0; column < headers.size(); ++column) {
        const int field = mapping.fieldOf(column);
        names << (field == kNotImported
                      ? QString()
                      : QString::fromUtf8(
                            purchases::kFieldColumns[field].data(),
                            static_cast<qsizetype>(purchases::kFieldColumns[field].size())));
    }
    QSettings ini(settingsFile, QSettings::IniFormat);
    ini.setValue(keyOf(headers), names);
    ini.sync();
}

}  // namespace importing
