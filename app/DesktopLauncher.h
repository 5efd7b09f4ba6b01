#pragma once

#include <QString>

// The desktop launcher written at every start, so that the program starts from the desktop with
// its own folder as the current directory (where data.mdb is looked for).
namespace launcher {

QString fileName();  // "Quenvar进销存管理软件（旗舰版）.desktop"

// The text of the desktop entry for programFile with iconFile as its icon (no Icon key when
// iconFile is empty).
QString entryText(const QString& programFile, const QString& iconFile);

// Writes the launcher into desktopFolder, replacing any file of that name. False when it could
// not be written; nothing half-written stays behind.
bool write(const QString& desktopFolder, const QString& programFile, const QString& iconFile);

// Saves the program's icon as a PNG file in folder (created when missing); its path, or empty
// text when it could not be saved.
QString saveIcon(const QString& folder);

// Where the icon is kept: the user's icons folder (XDG data home).
QString iconFolder();

// Everything the main window does at start: icon, then launcher, into the platform's desktop
// folder. Never throws; a failure only leaves the launcher out.
bool writeForThisProgram();

}  // namespace launcher
