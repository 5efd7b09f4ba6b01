#pragma once

class QWidget;

namespace reports {

class TReport;

// Opens the preview window for report, produces its pages into it and returns when the window
// has been closed (or the application is ending). Does nothing while report is being produced.
// With an owner the preview belongs to the owner's window: it stays in front of it, works even
// when that window is shown modally, and blocks it until the preview is closed.
void Preview(TReport& report, QWidget* owner = nullptr);

// Produces report again straight onto the printer with the stored printer choices and the
// "Printing progress" window. Without an installed printer the report is offered as a PDF file
// instead. Ignored while report is being produced.
void Print(TReport& report, QWidget* owner);

// Shows the print dialog and stores the choices for later printing; pageCount is the number of
// pages produced so far (0 when none). Returns whether the user confirmed. Without an installed
// printer a warning is shown instead of the dialog.
bool PrinterSetup(TReport& report, QWidget* owner, int pageCount = 0);

}  // namespace reports
