#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>

namespace testsupport {

// The process's umask for the lifetime of the object.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : previous_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(previous_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

  private:
    mode_t previous_;
};

// The permission bits of file (0 when it cannot be read), and setting them.
inline mode_t modeOf(const std::filesystem::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}
inline void setMode(const std::filesystem::path& file, mode_t mode) { ::chmod(file.c_str(), mode); }

}  // namespace testsupport
