// The program's scratch files: told from the user's files by name, removed only once stale.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/ScratchFiles.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;

struct NameCase {
    const char* fileName;
    bool ours;
};

class ScratchNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ScratchNameTest, OnlyTheProgramsOwnNamesAreScratch) {
    EXPECT_EQ(store::isScratchFileName(GetParam().fileName), GetParam().ours);
}

INSTANTIATE_TEST_SUITE_P(Names, ScratchNameTest,
                         ::testing::Values(NameCase{"x.xls.quenvar-partial", true},
                                           NameCase{"x.xls.quenvar-partial2", true},
                                           NameCase{"b.bak.quenvar-partial-journal", true},
                                           NameCase{"data.mdb.quenvar-partial12-journal", true},
                                           NameCase{"data.mdb.quenvar-partial-wal", true},
                                           NameCase{"data.mdb.quenvar-partial-shm", true},
                                           NameCase{"x.xls.partial", false},  // the user's own
                                           NameCase{"b.bak.partial-journal", false},
                                           NameCase{".quenvar-partial", false},  // no target
                                           NameCase{"x.quenvar-partial0", false},
                                           NameCase{"x.quenvar-partialx", false},
                                           NameCase{"x.quenvar-partial-journal.txt", false},
                                           NameCase{"x.quenvar-partial.xls", false}));

TEST(ScratchNames, AFreeNameSkipsTakenOnes) {
    testsupport::TemporaryDirectory dir;
    const std::string target = (dir.path() / "out.xls").string();
    EXPECT_EQ(store::freeScratchNameBeside(target), target + ".quenvar-partial");
    std::ofstream(target + ".quenvar-partial") << "x";
    std::ofstream(target + ".quenvar-partial2") << "x";
    EXPECT_EQ(store::freeScratchNameBeside(target), target + ".quenvar-partial3");
    EXPECT_TRUE(store::isScratchFileName("out.xls.quenvar-partial3"));
}

TEST(StaleScratchFiles, OnlyTheProgramsOwnOlderThanAnHourGo) {
    testsupport::TemporaryDirectory dir;
    const auto plant = [&](const std::string& name, std::chrono::minutes age) {
        std::ofstream(dir.path() / name) << name;
        fs::last_write_time(dir.path() / name, fs::file_time_type::clock::now() - age);
    };
    using std::chrono::minutes;
    plant("a.xls.quenvar-partial", minutes(61));
    plant("b.bak.quenvar-partial-journal", minutes(24 * 60));
    plant("c.xls.quenvar-partial", minutes(59));  // may be a write still running
    plant("d.xls.partial", minutes(24 * 60));     // the user's own
    plant("data.mdb", minutes(24 * 60));
    plant("e.special-leftover", minutes(120));               // named ours by the caller
    fs::create_directory(dir.path() / "f.quenvar-partial");  // no file: left alone
    fs::last_write_time(dir.path() / "f.quenvar-partial",
                        fs::file_time_type::clock::now() - minutes(120));

    store::removeStaleScratchFiles(dir.path().string(), [](std::string_view name) {
        return name.ends_with(".special-leftover");
    });

    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"c.xls.quenvar-partial", "d.xls.partial", "data.mdb",
                                              "f.quenvar-partial"}));
}

TEST(StaleScratchFiles, AMissingFolderIsNoError) {
    EXPECT_NO_THROW(store::removeStaleScratchFiles("/no/such/folder/anywhere"));
}

}  // namespace
