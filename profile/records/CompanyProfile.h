#pragma once

#include <array>
#include <string>

#include "store/Schema.h"

namespace store {
class Query;
}

namespace profile {

namespace column = store::schema::column;

// The company row's columns in the order of the window's six edits.
inline constexpr std::array<const char*, 6> kCompanyColumns = {
    column::kCompanyName, column::kCompanyAddress, column::kContact,
    column::kPhone,       column::kWebAddress,     column::kRemark};

using CompanyTexts = std::array<std::string, kCompanyColumns.size()>;

// The company query's current row as texts; all empty when the query holds no row.
CompanyTexts readCompany(const store::Query& query);

// Writes all six texts into the current row, or into a new row when the query holds none, and
// posts it. When a value or the post is refused, the row is given up again, so the query keeps
// standing on the stored values, and the error is thrown on.
void saveCompany(store::Query& query, const CompanyTexts& texts);

}  // namespace profile
