#include "tests/support/TestDatabase.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

#include "store/ConnectionString.h"
#include "tools/MakeDatabase.h"

namespace testsupport {

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::filesystem::path& directory)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(directory);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

TemporaryDirectory::TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "jxc-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory");
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

TestDatabase::TestDatabase(Content content, bool enterDirectory) {
    tools::makeDatabase(path(), content == Content::Demo);
    if (enterDirectory) {
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(directory_.path());
        entered_ = true;
    }
}

TestDatabase::~TestDatabase() {
    if (entered_) {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }
}

std::string TestDatabase::path() const {
    return (directory_.path() / store::kDatabaseFileName).string();
}

}  // namespace testsupport
