#pragma once

#include <string>
#include <string_view>

#include "importing/readers/SheetReader.h"

namespace importing {

// The separator of a CSV text: of ',', ';' and tab, the one found outside quotes in the first
// line, preferring one that every one of the next few lines holds as often, then the most frequent,
// then tab before comma before semicolon; ',' when none is.
char detectCsvSeparator(std::string_view text);

// Reads the CSV text bytes (the whole file) row by row: a UTF-8 byte order mark, else strict
// UTF-8, else GB18030; fields as RFC 4180 quotes them. file names the file in messages.
SheetFacts readCsvText(std::string_view bytes, const std::string& file, const RowSink& sink);

SheetFacts readCsv(const std::string& path, const RowSink& sink);

}  // namespace importing
