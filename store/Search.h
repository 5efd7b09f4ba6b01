#pragma once

#include <string>

namespace store {

class Query;

// Re-runs query with "select * from <table> where <column> like ?" and the parameter
// "%" + text + "%": the row's column contains text anywhere; "%" and "_" in text still act as
// wildcards, and a double quote is just a character. The connection is not rebuilt.
void runSearch(Query& query, const std::string& table, const std::string& column,
               const std::string& text);

}  // namespace store
