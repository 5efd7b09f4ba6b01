#pragma once

#include <string>
#include <string_view>

// How the readers turn a spreadsheet's numbers and dates into the texts the import stores.
namespace importing::celltext {

// The shortest decimal text that reads back as value, never in exponent form: 6932169358293,
// 0.1, -2.5, 1000000000000000. Not-a-number and infinities give "".
std::string numberText(double value);

// The text of a number written as text in a workbook ("1E+15", "0.10000000000000001") in the
// same shortest form; the text itself when it is no number.
std::string numberText(std::string_view written);

// The calendar day of a spreadsheet serial date as yyyy-MM-dd (1900 system, with its day
// 1900-02-29 that never was, or the 1904 system); "" outside the years 1900–9999.
std::string serialDate(double serial, bool date1904);

// The time of day of a serial date as HH:mm:ss.
std::string serialTime(double serial);

// Whether a number format code shows a date (y or d outside quotes, brackets and escapes, in its
// first section) or only a time of day (h, m, s without y or d).
enum class FormatKind { Number, Date, Time };
FormatKind formatKind(std::string_view code);
// The kind of Excel's built-in formats by their id (14–17, 22 dates; 18–21, 45–47 times; the
// Chinese editions' 27–36, 50–58).
FormatKind builtinFormatKind(int id);

}  // namespace importing::celltext
