#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace store::pg {

// The statements a session keeps prepared on the server, by their text in the server's dialect.
// A text is prepared on its second run in the session, whichever statement object runs it, and
// kept under its name for the connection's life. At most capacity are kept: the one used least
// recently is deallocated to make room for another. Of the texts run only once, the last
// remembered are known when they come again.
class PreparedTexts {
  public:
    explicit PreparedTexts(std::size_t capacity = 256, std::size_t remembered = 1024)
        : capacity_(capacity), remembered_(remembered) {}

    struct Plan {
        std::string name;        // the prepared statement to run; empty: the text runs unprepared
        bool prepare = false;    // name is prepared first, in the same exchange
        std::string deallocate;  // a statement to deallocate before, to make room
    };
    // How to run text now. changeable: whether statements may be prepared and deallocated now
    // (not while a transaction is in error: the server would refuse).
    Plan plan(const std::string& text, bool changeable);
    // text's statement is not on the server as planned (its preparation failed, or the server
    // lost it): it runs unprepared next time, and is prepared again after that.
    void forget(const std::string& text) noexcept;
    // The connection was made again: the server holds none of them.
    void clear() noexcept;
    std::size_t size() const noexcept { return prepared_.size(); }

  private:
    struct Entry {
        std::string text;
        std::string name;
    };
    std::size_t capacity_;
    std::size_t remembered_;
    std::list<Entry> prepared_;    // the most recently used first
    std::list<std::string> seen_;  // texts run once, the most recent first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> preparedIndex_;
    std::unordered_map<std::string_view, std::list<std::string>::iterator> seenIndex_;
    long names_ = 0;  // names are never used twice on one connection
};

}  // namespace store::pg
