#include "store/ByteBuffer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace store {

void providePages([[maybe_unused]] char* block, [[maybe_unused]] std::size_t from,
                  [[maybe_unused]] std::size_t to) noexcept {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    constexpr std::size_t kWorthIt = 1024 * 1024;
    if (to - from < kWorthIt) return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = (reinterpret_cast<std::uintptr_t>(block) + from + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + to) & ~(page - 1);
    // Refused by an older system: the pages then come at their first write, as always.
    if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#endif
}

}  // namespace store
