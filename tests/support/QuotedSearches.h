#pragma once

#include <string>
#include <vector>

namespace testsupport {

// Goods codes holding quotes and double quotes, and searches over them: each text is only text,
// finding the codes that contain it and running nothing else.
inline const std::vector<std::string> kQuotedCodes = {"it's", "say \"hi\"", "a'b\"c", "plain"};

struct QuotedSearch {
    const char* text;
    std::vector<std::string> found;
};

inline const std::vector<QuotedSearch> kQuotedSearches = {
    {"'", {"it's", "a'b\"c"}}, {"\"", {"say \"hi\"", "a'b\"c"}},
    {"'b\"", {"a'b\"c"}},      {"\" or \"\"=\"", {}},
    {"' or ''='", {}},
};

}  // namespace testsupport
