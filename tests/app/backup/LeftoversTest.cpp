// What an export, a backup or a restore killed in the middle of its writing leaves behind: only
// the program's own scratch files, removed by a later write into that folder once they are older
// than an hour; the user's files of similar names stay.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>

#include "backup/DataStoreCopy.h"
#include "export/Workbook.h"
#include "store/ScratchFiles.h"
#include "tests/app/backup/BackupFixture.h"

namespace {

namespace fs = std::filesystem;

// Runs write in a child process that is killed (SIGKILL) by the write that takes one of its
// files beyond four pages, as a kill or a power cut would end it. The signal that ended the
// child, or -1 when it was not killed.
int killedWhileWriting(const std::function<void()>& write) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, [](int) { ::raise(SIGKILL); });
        const rlimit small{4 * 4096, 4 * 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        try {
            write();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

class ManyCodes : public workbook::TableSource {
  public:
    ManyCodes() {
        for (int r = 0; r < 5000; ++r) codes_.push_back("商品编码-" + std::to_string(r));
    }
    int columnCount() const override { return 1; }
    std::string_view columnName(int) const override { return "商品编码"; }
    int rowCount() const override { return static_cast<int>(codes_.size()); }
    workbook::Cell cell(int row, int) const override {
        return workbook::Cell::ofText(codes_[static_cast<std::size_t>(row)]);
    }

  private:
    std::vector<std::string> codes_;
};

enum class Write { Export, Backup, Restore };

void PrintTo(Write write, std::ostream* out) {
    *out << (write == Write::Export ? "Export" : write == Write::Backup ? "Backup" : "Restore");
}

class LeftoversTest : public BackupFixture, public ::testing::WithParamInterface<Write> {
  protected:
    LeftoversTest() {
        addGoods(dataStore(), "B", 300);  // a data store of many pages
        EXPECT_TRUE(backup::backupDataStore(programFolder(), chosen("chosen.bak")));
    }
    // The folder written into, the target's name, and the write itself.
    fs::path folder() const {
        return GetParam() == Write::Restore ? program_.directory() : userFolder();
    }
    std::string target() const {
        switch (GetParam()) {
            case Write::Export:
                return "x.xls";
            case Write::Backup:
                return "b.bak";
            case Write::Restore:
                return "data.mdb";
        }
        return {};
    }
    void write() const {
        const std::string file = (folder() / target()).string();
        switch (GetParam()) {
            case Write::Export:
                workbook::writeWorkbook(file, ManyCodes());
                break;
            case Write::Backup:
                if (!backup::backupDataStore(programFolder(), QString::fromStdString(file)))
                    throw std::runtime_error("backup failed");
                break;
            case Write::Restore:
                if (!backup::restoreDataStore(programFolder(), chosen("chosen.bak")))
                    throw std::runtime_error("restore failed");
                break;
        }
    }
    std::vector<std::string> scratchFiles() const {
        std::vector<std::string> names;
        for (const std::string& name : fileNames(folder()))
            if (store::isScratchFileName(name)) names.push_back(name);
        return names;
    }
    void age(const std::string& name, std::chrono::minutes by) const {
        fs::last_write_time(folder() / name, fs::file_time_type::clock::now() - by);
    }
};

TEST_P(LeftoversTest, AKilledWriteLeavesOnlyScratchFilesThatALaterWriteRemovesOnceStale) {
    const std::string usersOwn = target() + ".partial";
    std::ofstream(folder() / usersOwn) << "the user's own file";
    age(usersOwn, std::chrono::minutes(24 * 60));
    const std::string before = fileBytes(dataStore());

    ASSERT_EQ(killedWhileWriting([this] { write(); }), SIGKILL);
    const std::vector<std::string> leftovers = scratchFiles();
    std::vector<std::string> expected{target() + ".quenvar-partial"};
    if (GetParam() != Write::Export) expected.push_back(target() + ".quenvar-partial-journal");
    ASSERT_EQ(leftovers, expected);
    if (GetParam() == Write::Restore)
        EXPECT_EQ(fileBytes(dataStore()), before);  // the data store as it was
    else
        EXPECT_FALSE(fs::exists(folder() / target()));

    // Within the hour they may be another write's, still running: left alone.
    write();
    EXPECT_EQ(scratchFiles(), leftovers);

    for (const std::string& name : leftovers) age(name, std::chrono::minutes(61));
    write();
    EXPECT_EQ(scratchFiles(), std::vector<std::string>{});
    EXPECT_TRUE(fs::exists(folder() / usersOwn));
    EXPECT_TRUE(fs::exists(folder() / target()));
}

INSTANTIATE_TEST_SUITE_P(Writes, LeftoversTest,
                         ::testing::Values(Write::Export, Write::Backup, Write::Restore));

}  // namespace
