#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "profile/records/CompanyProfile.h"

// Reads and prepares 表2 through a connection of its own, beside the window's.
namespace companytable {

// Rows are read and written as the texts of 公司名称, 公司地址, 联系人, 联系电话, 网址 and 备注, in
// that order; the place of a column among them:
std::size_t columnIndex(std::string_view column);

void replaceRows(const std::string& databaseFile, const std::vector<profile::CompanyTexts>& rows);
std::vector<profile::CompanyTexts> storedRows(const std::string& databaseFile);

}  // namespace companytable
