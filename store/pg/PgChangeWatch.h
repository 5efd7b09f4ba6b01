#pragma once

#include <chrono>

#include "store/ServerSettings.h"
#include "store/engine/Engine.h"
#include "store/pg/PgConnection.h"

namespace store::pg {

// Reads each table's change count on a connection of its own, so that it sees every other
// connection's committed changes at once and never waits for the reading connection.
class PgChangeWatch final : public ChangeWatch {
  public:
    explicit PgChangeWatch(const ServerSettings& settings);
    std::optional<std::int64_t> version(std::string_view table) override;

  private:
    bool reachable();

    ServerSettings settings_;
    ConnectionHandle connection_;
    std::chrono::steady_clock::time_point lastAttempt_;
};

}  // namespace store::pg
