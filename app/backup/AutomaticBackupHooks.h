#pragma once

#include <QString>

class QWidget;

// Where the automatic copies meet the windows: the day's copy once the main window is shown, the
// copy at the program's end, the copy before a restore, and the messages about them.
namespace backup {

// The day's copy starts when the event loop first runs, after mainWindow was shown. Problems
// are shown over the active window.
void startAutomaticBackups(QWidget& mainWindow, const QString& programFolder);

// At the end of the run, after the main window closed.
void finishAutomaticBackups(const QString& programFolder);

// Copies the data a restore is about to replace. When no copy can be made the user is asked
// whether to restore all the same; false when the restore should not go on.
bool copyBeforeRestore(QWidget* owner, const QString& programFolder);

}  // namespace backup
