#include <QApplication>
#include <QTest>

#include "platform/Fonts.h"
#include "tests/grid/GridTests.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::installFonts();
    int failures = 0;
    gridtest::FooterTotalsTest totals;
    failures += QTest::qExec(&totals, argc, argv);
    gridtest::SelectionTest selection;
    failures += QTest::qExec(&selection, argc, argv);
    gridtest::TitlesTest titles;
    failures += QTest::qExec(&titles, argc, argv);
    gridtest::ListColumnsTest lists;
    failures += QTest::qExec(&lists, argc, argv);
    gridtest::RenderingTest rendering;
    failures += QTest::qExec(&rendering, argc, argv);
    gridtest::DeletionTest deletion;
    failures += QTest::qExec(&deletion, argc, argv);
    return failures == 0 ? 0 : 1;
}
