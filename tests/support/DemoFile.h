#pragma once

#include <string>

#include "tests/support/TestDatabase.h"
#include "tools/MakeDatabase.h"

namespace testsupport {

// A data.mdb file of the demo shop in a folder of its own, whichever engine the tests' data is
// kept on: the source or the target of a copy between a file and a server.
struct DemoFile {
    TemporaryDirectory folder;
    DemoFile() { tools::makeDatabase(path(), true); }
    std::string path() const { return (folder.path() / "data.mdb").string(); }
};

}  // namespace testsupport
