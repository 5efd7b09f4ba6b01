#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "importing/records/ColumnMapping.h"

// The mappings the user chose, remembered per set of headers in the program's settings file
// (group "ImportMapping"), so that the next delivery list of the same shape maps itself.
namespace importing {

// The mapping remembered for exactly these headers; none when there is none, or when what is
// stored does not fit them (edited by hand).
std::optional<ColumnMapping> rememberedMapping(const QString& settingsFile,
                                               const std::vector<std::string>& headers);

// Remembers mapping for these headers, replacing what was remembered for them.
void rememberMapping(const QString& settingsFile, const std::vector<std::string>& headers,
                     const ColumnMapping& mapping);

}  // namespace importing
