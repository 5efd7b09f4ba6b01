// Choosing the data store through the group [数据库] of the settings file.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <stdexcept>
#include <string>

#include "backup/DatabaseSettings.h"
#include "tests/support/TestDatabase.h"

namespace {

struct Written {
    const char* name;
    const char* lines;  // the file as the user wrote it, UTF-8
    bool server;
    store::ServerSettings expected;
};

class DatabaseSettingsTest : public ::testing::Test {
  protected:
    QString write(const char* lines) const {
        QFile file(settingsFile());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines);
        return settingsFile();
    }
    QString settingsFile() const {
        return QString::fromStdString((folder_.path() / "quenvar-jxc.ini").string());
    }

    testsupport::TemporaryDirectory folder_;
};

class ReadSettings : public DatabaseSettingsTest, public ::testing::WithParamInterface<Written> {};

TEST_P(ReadSettings, GivesTheServerOrNone) {
    const Written& c = GetParam();
    const QString file = write(c.lines);
    const QByteArray before = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const auto server = autobackup::readServerSettings(file);
    ASSERT_EQ(server.has_value(), c.server);
    if (c.server) {
        EXPECT_EQ(*server, c.expected);
    }
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before) << "reading leaves the file as the user wrote it";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadSettings,
    ::testing::Values(
        Written{"NoGroup", "[AutoBackup]\nKeep=5\n", false, {}},
        Written{"EmptyKind", "[数据库]\n类型=\n", false, {}},
        Written{"DataFileByName", "[数据库]\n类型=sqlcipher\nhost=db\ndatabase=jxc\n", false, {}},
        Written{"AllKeys",
                "[AutoBackup]\nKeep=5\n[数据库]\n类型=postgresql\nhost=192.168.1.10\nport=5432\n"
                "database=jxc\nuser=shop\nsslmode=require\n",
                true,
                {"192.168.1.10", "5432", "jxc", "shop", "require"}},
        // Blanks around values and the kind in capitals, as people type them.
        Written{"BlanksAndCapitals",
                "[数据库]\n类型 = PostgreSQL \ndatabase = 进销存 \n",
                true,
                {"", "", "进销存", "", ""}},
        // libpq takes several hosts separated by commas; QSettings reads them as a list.
        Written{"SeveralHosts",
                "[数据库]\n类型=postgresql\nhost=db1,db2\nport=5432,5433\ndatabase=jxc\n",
                true,
                {"db1,db2", "5432,5433", "jxc", "", ""}},
        Written{"SocketFolder",
                "[数据库]\n类型=postgresql\nhost=/var/run/postgresql\ndatabase=jxc\n",
                true,
                {"/var/run/postgresql", "", "jxc", "", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DatabaseSettingsTest, AFileTheProgramRewroteReadsTheSame) {
    // QSettings writes the Chinese group and key names escaped ("%U6570…") when the program adds
    // its own keys to the file: the choice must survive that.
    write("[数据库]\n类型=postgresql\ndatabase=jxc\n");
    {
        QSettings ini(settingsFile(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("AutoBackup/Keep"), 7);
    }
    QFile rewritten(settingsFile());
    ASSERT_TRUE(rewritten.open(QIODevice::ReadOnly));
    ASSERT_FALSE(rewritten.readAll().contains("类型"));
    const auto server = autobackup::readServerSettings(settingsFile());
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(server->database, "jxc");
}

TEST_F(DatabaseSettingsTest, AMissingFileMeansTheDataFile) {
    EXPECT_FALSE(autobackup::readServerSettings(settingsFile()).has_value());
    EXPECT_FALSE(QFile::exists(settingsFile()));
}

struct Refused {
    const char* name;
    const char* lines;
    const char* key;   // the key the message names
    const char* also;  // a further text the message holds
};

class RefusedSettings : public DatabaseSettingsTest,
                        public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedSettings, NameTheFileAndTheKey) {
    const Refused& c = GetParam();
    const QString file = write(c.lines);
    try {
        autobackup::readServerSettings(file);
        FAIL() << "accepted";
    } catch (const std::runtime_error& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(file.toStdString()), std::string::npos) << text;
        EXPECT_NE(text.find(std::string("[数据库] 的 ") + c.key), std::string::npos) << text;
        EXPECT_NE(text.find(c.also), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSettings,
    ::testing::Values(
        Refused{"UnknownKind", "[数据库]\n类型=mysql\ndatabase=jxc\n", "类型", "“mysql”"},
        Refused{"NoDatabase", "[数据库]\n类型=postgresql\nhost=db\n", "database", "没有写"},
        Refused{"BlankDatabase", "[数据库]\n类型=postgresql\ndatabase=  \n", "database", "没有写"},
        Refused{"PortNotANumber", "[数据库]\n类型=postgresql\ndatabase=jxc\nport=54x32\n", "port",
                "“54x32”"},
        Refused{"PortTooLarge", "[数据库]\n类型=postgresql\ndatabase=jxc\nport=65536\n", "port",
                "“65536”"},
        Refused{"PortZero", "[数据库]\n类型=postgresql\ndatabase=jxc\nport=0\n", "port", "“0”"},
        Refused{"OneOfSeveralPorts", "[数据库]\n类型=postgresql\ndatabase=jxc\nport=5432,x\n",
                "port", "“5432,x”"},
        Refused{"UnknownSslMode", "[数据库]\n类型=postgresql\ndatabase=jxc\nsslmode=on\n",
                "sslmode", "“on”"},
        // Even beside the data file: a password in a plain file is never taken.
        Refused{"Password", "[数据库]\n类型=sqlcipher\npassword=secret\n", "password", "~/.pgpass"},
        Refused{"ServerWithoutKind", "[数据库]\nhost=db\ndatabase=jxc\n", "类型",
                "类型=postgresql"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
