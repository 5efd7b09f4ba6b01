#pragma once

class QCoreApplication;

namespace platform {

// Makes the program Chinese (China) whatever the machine's language: the default locale (dates,
// numbers, the date picker) and Qt's own texts (file and print dialogs, edit menus). Returns
// whether Qt's Chinese texts were found; without them Qt's texts stay English.
bool useChinese(QCoreApplication& application);

}  // namespace platform
