#include "tools/FileMoves.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "store/Error.h"

namespace tools {

std::string makeFreeFileBeside(const std::string& base) {
    const std::string pattern = base + ".making-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) throw store::StoreError("无法写入“" + base + "”：" + std::strerror(errno));
    close(fd);
    return std::string(name.data());
}

bool moveWithoutReplacing(const std::string& from, const std::string& to, std::error_code& ec) {
    ec.clear();
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    const int error = errno;
    if (error != EINVAL && error != ENOSYS && error != ENOTSUP) {
        ec.assign(error, std::generic_category());
        return false;
    }
    // A file system without that rename: a second link fails on a taken name just the same.
    if (link(from.c_str(), to.c_str()) != 0) {
        ec.assign(errno, std::generic_category());
        return false;
    }
    unlink(from.c_str());
    return true;
}

}  // namespace tools
