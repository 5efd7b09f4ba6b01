#pragma once

#include <span>
#include <string>
#include <string_view>

namespace store {

class Query;

// Re-runs query with "select * from <table> where <column> like ?" and the parameter
// "%" + text + "%": the row's column contains text anywhere; "%" and "_" in text still act as
// wildcards, and a double quote is just a character. The connection is not rebuilt.
void runSearch(Query& query, const std::string& table, const std::string& column,
               const std::string& text);
// The same with a condition of its own, whose one "?" takes "%" + text + "%".
void runSearchWhere(Query& query, const std::string& table, const std::string& condition,
                    const std::string& text);

// The query panel of a list window: the one filled field when exactly one is (a text of blanks
// counts as filled), none otherwise. texts[i] belongs to field i.
int filledSearchField(std::span<const std::string> texts) noexcept;  // -1 for none

// The query panel's search: narrows query to the rows of table whose column of the one filled
// field contains its text (runSearch). Runs only when the list is open with rows and exactly
// one field is filled; true when it ran. columns[i] is the column field i searches.
bool searchByFilledField(Query& query, const std::string& table,
                         std::span<const std::string_view> columns,
                         std::span<const std::string> texts);

}  // namespace store
