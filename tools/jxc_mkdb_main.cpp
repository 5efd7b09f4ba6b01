// jxc-mkdb: makes a new, empty (or demo-filled) data.mdb for the program, or the program's tables
// on a PostgreSQL server, or copies a shop's data.mdb to such a server. See makeUsage().
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tools/MakeDatabase.h"
#include "tools/MakeOptions.h"

int main(int argc, char** argv) {
    tools::MakeOptions options;
    try {
        options = tools::parseMakeOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const tools::UsageError& e) {
        std::fprintf(stderr, "jxc-mkdb：%s\n%s", e.what(), tools::makeUsage());
        return 2;
    }
    try {
        switch (options.action) {
            case tools::MakeOptions::Action::Help:
                std::fputs(tools::makeUsage(), stdout);
                break;
            case tools::MakeOptions::Action::MakeFile:
                tools::makeDatabase(options.path, options.demo);
                break;
            case tools::MakeOptions::Action::MakeOnServer:
                std::printf("%s\n",
                            tools::makeServerDatabase(options.server, options.demo).c_str());
                break;
            case tools::MakeOptions::Action::CopyToServer:
                std::printf("%s", tools::copyToServer(options.copyFrom, options.server).c_str());
                break;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "jxc-mkdb：%s\n", e.what());
        return 1;
    }
    return 0;
}
