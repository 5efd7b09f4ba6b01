// jxc-mkdb [--demo] PATH: makes a new, empty (or demo-filled) data.mdb for the program.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/MakeDatabase.h"

int main(int argc, char** argv) {
    bool demo = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--demo") {
            demo = true;
        } else if (arg == "-h" || arg == "--help") {
            std::fprintf(stdout, "用法：jxc-mkdb [--demo] 路径\n  --demo  填入示例数据\n");
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "jxc-mkdb：未知选项 %s\n用法：jxc-mkdb [--demo] 路径\n",
                         arg.c_str());
            return 2;
        } else if (path.empty()) {
            path = arg;
        } else {
            std::fprintf(stderr, "jxc-mkdb：只能给出一个路径\n用法：jxc-mkdb [--demo] 路径\n");
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "用法：jxc-mkdb [--demo] 路径\n");
        return 2;
    }
    try {
        tools::makeDatabase(path, demo);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "jxc-mkdb：%s\n", e.what());
        return 1;
    }
    return 0;
}
