#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Goods rows of 表1 by code, through a connection of their own.
void addGoods(const std::string& databaseFile, const std::string& code, int count = 1);
std::vector<std::string> goodsCodes(const std::string& databaseFile);

bool opensWithPassword(const std::string& file);
bool passesIntegrityCheck(const std::string& databaseFile);
std::string fileBytes(const std::filesystem::path& file);
std::vector<std::string> fileNames(const std::filesystem::path& folder);  // sorted
