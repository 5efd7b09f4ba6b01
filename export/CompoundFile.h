#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "export/ScratchTarget.h"

namespace workbook {

// A compound document file with one stream, written beside its target under a free scratch name
// and renamed over the target by commit(). Until then the target is untouched; a file that was
// not committed (an error, a cancellation) is removed by the destructor. The file is made with
// the user's umask and, when permissionsLimit names a file, never more open than that one.
class CompoundFile {
  public:
    CompoundFile(const std::string& target, const char* streamName,
                 std::string permissionsLimit = {});
    ~CompoundFile();
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size);
    void commit();  // closes the container and renames it into place

    const std::string& scratchName() const noexcept { return scratch_.name(); }

  private:
    [[noreturn]] void fail(const std::string& reason) const;
    struct Handles;
    ScratchTarget scratch_;
    std::unique_ptr<Handles> handles_;  // closed before scratch_ removes the file
};

}  // namespace workbook
