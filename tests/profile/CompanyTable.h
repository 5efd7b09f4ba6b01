#pragma once

#include <string>
#include <vector>

#include "profile/CompanyProfile.h"

// Reads and prepares 表2 through a connection of its own, beside the window's.
namespace companytable {

void replaceRows(const std::string& databaseFile, const std::vector<profile::CompanyTexts>& rows);
std::vector<profile::CompanyTexts> storedRows(const std::string& databaseFile);

}  // namespace companytable
