#pragma once

#include <string>
#include <string_view>

// Pieces of SQL text as both engines read them.
namespace store::sql {

// A table or column name in double quotes, a quote inside it doubled.
inline std::string quotedName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Whether two names or key words are the same to SQL: ASCII letters in either case.
inline bool sameName(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace store::sql
