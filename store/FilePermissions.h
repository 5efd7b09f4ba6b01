#pragma once

#include <string>

// The permissions of the files the program writes beside the data: copies and workbooks hold the
// same data as data.mdb, so they are never more open than it is.
namespace store {

// Takes from file every permission that reference lacks. Nothing changes when reference cannot be
// read. Throws std::filesystem::filesystem_error when file's permissions cannot be set.
void limitPermissionsTo(const std::string& file, const std::string& reference);

// Gives file exactly the permissions of reference; false (file unchanged) when reference cannot
// be read. Throws std::filesystem::filesystem_error when file's permissions cannot be set.
bool copyPermissionsFrom(const std::string& file, const std::string& reference);

}  // namespace store
