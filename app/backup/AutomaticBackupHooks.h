#pragma once

#include <QString>
#include <functional>

class QWidget;

// Where the automatic copies meet the windows: the day's copy once the main window is shown, the
// copy at the program's end, the copy before a restore, and the messages about them.
namespace backup {

// The day's copy starts when the event loop first runs, after mainWindow was shown. Problems
// are shown over the active window; when the copy finds data.mdb damaged, its repair from an
// automatic copy is offered (closeConnections runs before data.mdb is replaced).
void startAutomaticBackups(QWidget& mainWindow, const QString& programFolder,
                           const std::function<void()>& closeConnections = {});

// The day's copy taken at once, waited for, its problems shown with no owner: before the program
// changes data.mdb at start (a schema upgrade), so that the day's copy holds the file as it was.
// The day's copy at the first event is then not due again.
void takeDaysCopyNow(const QString& programFolder);

// At the end of the run, after the main window closed.
void finishAutomaticBackups(const QString& programFolder);

// Copies the data a restore is about to replace. When no copy can be made the user is asked
// whether to restore all the same; false when the restore should not go on.
bool copyBeforeRestore(QWidget* owner, const QString& programFolder);

}  // namespace backup
