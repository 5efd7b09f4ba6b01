#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "store/ServerSettings.h"

namespace tools {

// What one run of jxc-mkdb is asked to make.
struct MakeOptions {
    enum class Action { Help, MakeFile, MakeOnServer, CopyToServer };
    Action action = Action::MakeFile;
    bool demo = false;
    std::string path;              // the data.mdb to make
    std::string copyFrom;          // the shop's data.mdb copied to the server
    store::ServerSettings server;  // what is not given is left to libpq (the PG* environment)
};

// A command line jxc-mkdb cannot run; the message says what is wrong, in the user's words.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The arguments after the program's name.
MakeOptions parseMakeOptions(const std::vector<std::string>& arguments);

// The help text, ending with a newline.
const char* makeUsage();

}  // namespace tools
