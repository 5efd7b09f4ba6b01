#pragma once

#include <cstdio>
#include <string>

namespace workbook {

// A workbook file written beside its target under a free scratch name and renamed over the
// target by commit(). Until then the target is untouched; a file that was not committed (an
// error, a cancellation) is removed by the destructor. The file is made with the user's umask
// and, when permissionsLimit names a file, never more open than that one. What an earlier,
// killed export left in the folder is removed first.
class ScratchTarget {
  public:
    ScratchTarget(const std::string& target, std::string permissionsLimit);
    ~ScratchTarget();
    ScratchTarget(const ScratchTarget&) = delete;
    ScratchTarget& operator=(const ScratchTarget&) = delete;

    // The scratch file, made now (it must not exist yet), opened for writing.
    std::FILE* create();
    void commit();  // the scratch file is complete and closed: renames it into place

    const std::string& name() const noexcept { return scratch_; }
    // Throws the export's error naming the target.
    [[noreturn]] void fail(const std::string& reason) const;

  private:
    std::string target_;
    std::string scratch_;
    std::string permissionsLimit_;
    bool committed_ = false;
};

}  // namespace workbook
