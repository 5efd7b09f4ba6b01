#pragma once

#include <QString>
#include <functional>

class QWidget;
class SharedSaveName;

// The main window's "【数据备份】" and "【数据恢复】" commands. Both work on data.mdb in
// programFolder (the program's own folder, see programFolder()), wherever the program was
// started from; their messages are owned by owner.
namespace backup {

// The folder of the program file, where backup and restore find the data store.
QString programFolder();

// Asks for a name in the shared save dialog and copies the data store to that name + ".bak".
// Cancel or an empty name: nothing happens.
void runBackup(QWidget* owner, SharedSaveName& saveName, const QString& programFolder);

enum class RestoreResult {
    Cancelled,  // no file chosen; nothing happened
    Failed,     // "数据恢复失败，请重试！" was shown; the program goes on
    Restored,   // "数据恢复成功！" was shown; the caller ends the program
};

// Asks for a backup file, checks that it is a database of this program that opens with its
// password, calls closeConnections, and puts a copy of the file in place of the data store. A
// refused file is reported before anything is closed. closeConnections should close the
// connections that reopen by themselves (those of the windows that re-read their table when they
// become active), since the program goes on when the copy fails.
// Closes the connections and puts a copy of file in place of the data store in dataFolder,
// telling the user "数据恢复成功！" or "数据恢复失败，请重试！". file must be restorable.
RestoreResult restoreFile(QWidget* owner, const QString& dataFolder, const QString& file,
                          const std::function<void()>& closeConnections);

RestoreResult runRestore(QWidget* owner, const QString& programFolder,
                         const std::function<void()>& closeConnections);

}  // namespace backup
