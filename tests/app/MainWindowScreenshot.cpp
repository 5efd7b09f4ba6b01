// Saves a picture of the main window over the demo shop, for the README:
//   main_window_screenshot docs/main-window.png [Panel2|Panel5]
// The optional name shows that panel too, to look at its layout.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "platform/Fonts.h"
#include "tests/app/StartedProgram.h"
#include "tests/support/TestDatabase.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: main_window_screenshot FILE.png [Panel2|Panel5]\n");
        return 2;
    }
    const QString target = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    platform::installFonts();
    apptest::ScriptedDesktop desktop;

    testsupport::TestDatabase database(testsupport::TestDatabase::Content::Demo);
    startup::Windows windows;
    TMainForm& main = windows.mainForm();
    main.show();
    if (argc == 3) {
        if (auto* panel = main.findChild<QWidget*>(QString::fromLatin1(argv[2]))) panel->show();
    }
    QApplication::processEvents();
    return main.grab().save(target) ? 0 : 1;
}
