#pragma once

class QPrinter;

namespace reports {

class TReport;

// Applies the report's page setup (A4 in its orientation) and stored printer choices.
void applyPrinterSettings(QPrinter& printer, const TReport& report);

}  // namespace reports
