#pragma once

#include <utility>

#include "store/Connection.h"
#include "store/Error.h"

namespace store {

// How often a write that met another connection's concurrent change is tried again.
inline constexpr int kConflictRetries = 3;

// What the user is told when the last try met such a change too: nothing of the write is stored.
extern const char* const kConflictGaveUp;

namespace detail {
void pauseBeforeRetry(int retry) noexcept;  // a short wait, longer with each retry
[[noreturn]] void giveUpAfterConflicts();
}  // namespace detail

// Runs fn, a write of its own transaction on connection (a WriteTransaction or a Transaction it
// begins itself), and gives its result. When a database server refuses the transaction because
// another counter changed the same rows at the same time (StoreError::kServerConflict), fn's
// transaction has rolled back while the error left it; fn is run again from the start, reading
// afresh, up to kConflictRetries times, and after that the user's message kConflictGaveUp is
// thrown. Every other error is thrown on at once. Inside a transaction already open on the
// connection nothing is retried here: the conflict ends that whole transaction, whose own caller
// retries it. A data file never reports such conflicts, so there fn simply runs once.
template <typename Fn>
decltype(auto) retryOnConflict(Connection& connection, Fn&& fn) {
    for (int retry = 0;; ++retry) {
        if (retry > 0) detail::pauseBeforeRetry(retry);
        try {
            return std::forward<Fn>(fn)();
        } catch (const StoreError& error) {
            if (error.code() != StoreError::kServerConflict || connection.inTransaction()) throw;
            if (retry == kConflictRetries) detail::giveUpAfterConflicts();
        }
    }
}

}  // namespace store
