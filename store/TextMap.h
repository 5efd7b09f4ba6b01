#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace store {

// Hashes texts so that a map keyed by std::string is searched with a std::string_view, without
// copying the text searched for.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
        return std::hash<std::string_view>{}(text);
    }
};

// A map from texts (copies of their own) to values, searched by std::string_view.
template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

}  // namespace store
