#include "backup/DatabaseSettings.h"

#include <QDir>
#include <QSettings>
#include <QStringList>
#include <array>
#include <stdexcept>
#include <string>

namespace autobackup {

namespace {

const QString kGroup = QStringLiteral("数据库");
const QString kKind = QStringLiteral("类型");
const QString kHost = QStringLiteral("host");
const QString kPort = QStringLiteral("port");
const QString kDatabase = QStringLiteral("database");
const QString kUser = QStringLiteral("user");
const QString kSslMode = QStringLiteral("sslmode");
const QString kPassword = QStringLiteral("password");

// libpq's own names of its TLS modes.
constexpr std::array<const char*, 6> kSslModes = {"disable", "allow",     "prefer",
                                                  "require", "verify-ca", "verify-full"};

// A value as the user wrote it: QSettings hands back a text with commas (several hosts, as
// libpq takes them) as a list.
QString textOf(const QSettings& ini, const QString& key) {
    const QVariant value = ini.value(key);
    const QString text = value.typeId() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    return text.trimmed();
}

[[noreturn]] void refuse(const QString& settingsFile, const QString& key, const QString& why) {
    throw std::runtime_error(QStringLiteral("设置文件“%1”中 [数据库] 的 %2 %3")
                                 .arg(QDir::toNativeSeparators(settingsFile), key, why)
                                 .toStdString());
}

// A port number, or several separated by commas (one for each host).
bool isPortList(const QString& text) {
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool whole = false;
        const int port = part.trimmed().toInt(&whole);
        if (!whole || port < 1 || port > 65535) return false;
    }
    return true;
}

}  // namespace

std::optional<store::ServerSettings> readServerSettings(const QString& settingsFile) {
    QSettings ini(settingsFile, QSettings::IniFormat);
    ini.beginGroup(kGroup);
    if (ini.contains(kPassword))
        refuse(settingsFile, kPassword,
               QStringLiteral("不会被读取：密码不应写在设置文件里。请删去这一项，把密码写进 "
                              "~/.pgpass，或放在环境变量 PGPASSWORD 中。"));

    const QString kind = textOf(ini, kKind).toLower();
    const bool serverKeys = !textOf(ini, kHost).isEmpty() || !textOf(ini, kPort).isEmpty() ||
                            !textOf(ini, kDatabase).isEmpty() || !textOf(ini, kUser).isEmpty();
    if (kind.isEmpty()) {
        if (serverKeys)
            refuse(settingsFile, kKind,
                   QStringLiteral("没有写：写了服务器却没有写 类型=postgresql。要用服务器请加上 "
                                  "类型=postgresql；要用 data.mdb 文件请写 "
                                  "类型=sqlcipher。"));
        return std::nullopt;
    }
    if (kind == QStringLiteral("sqlcipher")) return std::nullopt;
    if (kind != QStringLiteral("postgresql"))
        refuse(settingsFile, kKind,
               QStringLiteral("“%1”无法识别：请写 postgresql（PostgreSQL 服务器）或 "
                              "sqlcipher（data.mdb 文件）。")
                   .arg(textOf(ini, kKind)));

    store::ServerSettings server;
    server.host = textOf(ini, kHost).toStdString();
    server.database = textOf(ini, kDatabase).toStdString();
    server.user = textOf(ini, kUser).toStdString();
    if (server.database.empty())
        refuse(settingsFile, kDatabase,
               QStringLiteral("没有写：请写上服务器上本店数据库的名称，例如 database=jxc。"));
    const QString port = textOf(ini, kPort);
    if (!port.isEmpty() && !isPortList(port))
        refuse(settingsFile, kPort,
               QStringLiteral("“%1”不是端口号：请写 1 到 65535 之间的整数（PostgreSQL 通常是 "
                              "5432），或删去这一项。")
                   .arg(port));
    server.port = port.toStdString();
    const QString sslMode = textOf(ini, kSslMode);
    if (!sslMode.isEmpty()) {
        bool known = false;
        for (const char* mode : kSslModes) known = known || sslMode == QLatin1String(mode);
        if (!known)
            refuse(settingsFile, kSslMode,
                   QStringLiteral("“%1”无法识别：请写 disable、allow、prefer、require、verify-ca "
                                  "或 verify-full。")
                       .arg(sslMode));
    }
    server.sslmode = sslMode.toStdString();
    return server;
}

}  // namespace autobackup
