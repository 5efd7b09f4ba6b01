#pragma once

#include <memory>

namespace store {
class Engine;
}

namespace store::pg {

// Counts the exchanges of a server engine's connection with the server while it lives: each
// statement or pipeline of statements sent and answered, which the server ends with its
// ready-for-query message. libpq's trace of the messages is read for it, so that what is counted
// is what really went to the server. For tests and measurements; the engine must outlive it.
class ExchangeCounter {
  public:
    // Throws StoreError for an engine that is not on a server.
    explicit ExchangeCounter(Engine& engine);
    ~ExchangeCounter();
    ExchangeCounter(const ExchangeCounter&) = delete;
    ExchangeCounter& operator=(const ExchangeCounter&) = delete;

    long count() const noexcept;

  private:
    struct Trace;
    std::unique_ptr<Trace> trace_;
};

}  // namespace store::pg
