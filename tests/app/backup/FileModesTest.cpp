// The permissions of what the program writes: a restored data.mdb keeps those of the file it
// replaces; backups and workbooks follow the umask but are never more open than data.mdb.
#include <gtest/gtest.h>

#include <QString>
#include <string>

#include "app/backup/BackupCommands.h"
#include "backup/DataStoreCopy.h"
#include "export/Workbook.h"
#include "platform/SharedSaveName.h"
#include "tests/app/backup/BackupFixture.h"
#include "tests/support/FileModes.h"

namespace {

using testsupport::modeOf;
using testsupport::setMode;

class OneCell : public workbook::TableSource {
  public:
    int columnCount() const override { return 1; }
    std::string_view columnName(int) const override { return "商品编码"; }
    int rowCount() const override { return 1; }
    workbook::Cell cell(int, int) const override { return workbook::Cell::ofText("A01"); }
};

enum class Write { Backup, Export, Restore };

struct ModeCase {
    const char* name;
    Write write;
    mode_t dataMode;  // of data.mdb before the write
    mode_t umask;
    mode_t written;  // of the file written (data.mdb itself for a restore)
};

void PrintTo(const ModeCase& c, std::ostream* out) { *out << c.name; }

class FileModesTest : public BackupFixture, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(FileModesTest, WrittenFilesAreNeverMoreOpenThanTheData) {
    const ModeCase& c = GetParam();
    // The backup a restore reads is as open as the umask lets it be.
    const auto chosenBackup = userFolder() / "chosen.bak";
    ASSERT_TRUE(backup::backupDataStore(programFolder(), QString::fromStdString(chosenBackup)));
    setMode(chosenBackup, 0666);
    setMode(dataStore(), c.dataMode);

    std::filesystem::path written;
    {
        const testsupport::ScopedUmask mask(c.umask);
        switch (c.write) {
            case Write::Backup: {
                SharedSaveName names;
                platform_.saveFileNames.enqueue(chosen("copy"));
                backup::runBackup(nullptr, names, programFolder());
                written = userFolder() / "copy.bak";
                break;
            }
            case Write::Export:
                written = userFolder() / "out.xls";
                ASSERT_EQ(workbook::writeWorkbook(written.string(), OneCell(), {}, dataStore()),
                          workbook::Outcome::Written);
                break;
            case Write::Restore:
                ASSERT_TRUE(backup::restoreDataStore(programFolder(),
                                                     QString::fromStdString(chosenBackup)));
                written = dataStore();
                break;
        }
    }
    EXPECT_EQ(modeOf(written), c.written) << std::oct << modeOf(written);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, FileModesTest,
    ::testing::Values(ModeCase{"BackupOfAPrivateFile", Write::Backup, 0600, 022, 0600},
                      ModeCase{"BackupOfAGroupReadableFile", Write::Backup, 0640, 022, 0640},
                      ModeCase{"BackupUnderAStrictUmask", Write::Backup, 0644, 077, 0600},
                      ModeCase{"ExportOfAPrivateFile", Write::Export, 0600, 022, 0600},
                      ModeCase{"ExportOfAGroupFile", Write::Export, 0660, 002, 0660},
                      ModeCase{"ExportUnderAStrictUmask", Write::Export, 0666, 077, 0600},
                      ModeCase{"RestoreKeepsAPrivateFilePrivate", Write::Restore, 0600, 022, 0600},
                      ModeCase{"RestoreKeepsAGroupFileShared", Write::Restore, 0664, 077, 0664}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
