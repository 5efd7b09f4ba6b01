#pragma once

#include <cstdint>
#include <string>

// What one counter (a process selling and taking returns) did, a line per outcome in its own log,
// written as soon as the outcome is known so that nothing stored goes unlogged:
//   sold <sale ID> <goods ID> <quantity>
//   returned <return ID> <sale ID> <goods ID> <quantity>
//   short <goods ID> <quantity>        the stored stock no longer covered the quantity
//   refused <goods ID> <quantity>      the list's stock did not cover it: nothing was tried
//   conflict <attempt>                 another counter's change stopped it, and the user was told
//   error <message>                    anything else: the counter stops
namespace counters {

inline constexpr const char* kSold = "sold";
inline constexpr const char* kReturned = "returned";
inline constexpr const char* kShort = "short";
inline constexpr const char* kRefused = "refused";
inline constexpr const char* kConflict = "conflict";
inline constexpr const char* kError = "error";

}  // namespace counters
