// Saves a picture of the sales window over the demo shop, to look at its layout:
//   sales_window_screenshot FILE.png [sale|query]
// "sale" opens the sale entry panel for the first goods row, "query" the query panel.
#include <QApplication>
#include <QFileInfo>
#include <QToolButton>
#include <cstdio>
#include <cstring>

#include "platform/Fonts.h"
#include "sales/XsxxForm.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: sales_window_screenshot FILE.png [sale|query]\n");
        return 2;
    }
    const QString target = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    platform::installFonts();
    platform::ScriptedPlatform scripted;
    testsupport::TestDatabase database(testsupport::TestDatabase::Content::Demo);
    TXsxxForm form;
    form.show();
    QApplication::processEvents();  // the first activation closes both panels
    const auto click = [&form](const char* button) {
        form.findChild<QToolButton*>(QString::fromLatin1(button))->click();
    };
    if (argc == 3 && std::strcmp(argv[2], "sale") == 0) click("SpeedButton1");
    if (argc == 3 && std::strcmp(argv[2], "query") == 0) click("SpeedButton3");
    QApplication::processEvents();
    return form.grab().save(target) ? 0 : 1;
}
