#include "store/Retry.h"

#include <chrono>
#include <random>
#include <thread>

namespace store {

const char* const kConflictGaveUp =
    "其他收银台同时修改了同样的数据，程序已自动重试三次，仍未能保存这次操作（什么都没有改动）。"
    "请稍后再试一次。";

namespace detail {

void pauseBeforeRetry(int retry) noexcept {
    // Two counters that met once should not meet again at once: each waits a little, some
    // milliseconds apart.
    thread_local std::minstd_rand spread(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const auto wait = std::chrono::milliseconds(10 * retry + static_cast<int>(spread() % 10));
    std::this_thread::sleep_for(wait);
}

void giveUpAfterConflicts() {
    // Not a conflict any more: a caller further out must not start the round again.
    throw StoreError(kConflictGaveUp);
}

}  // namespace detail

}  // namespace store
