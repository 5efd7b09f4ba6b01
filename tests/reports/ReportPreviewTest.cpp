#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "FakeCursor.h"
#include "SampleReport.h"
#include "reports/engine/PagedOutput.h"
#include "reports/engine/ReportPages.h"
#include "reports/preview/PageView.h"
#include "reports/preview/PrintProgress.h"
#include "reports/preview/PrinterSettings.h"
#include "reports/preview/ReportCommands.h"
#include "reports/preview/ReportPreview.h"
#include "reports/preview/Zoom.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using namespace reports;

namespace {

TReportPreview* openPreview() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<TReportPreview*>(widget);
            preview && preview->isVisible()) {
            return preview;
        }
    }
    return nullptr;
}

// Runs check once a preview window is open and its report fully produced (Preview waits in its
// own event loop then).
void whenPreviewReady(const TReport& report, std::function<void(TReportPreview*)> check) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &report, check] {
        TReportPreview* preview = openPreview();
        if (preview == nullptr || report.isProducing()) return;
        timer->stop();
        timer->deleteLater();
        check(preview);
    });
    timer->start(5);
}

// A produced report of `rows` rows shown in a preview window of a known size.
struct Shown {
    FakeCursor rows;
    TReport report;
    ReportPages pages;
    std::unique_ptr<TReportPreview> window;

    explicit Shown(int count, QSize size = {1000, 700})
        : rows(sampleFields(), numberedRows(count)) {
        buildSampleReport(report, &rows);
        window = std::make_unique<TReportPreview>(report, pages);
        window->resize(size);
        window->show();
        report.produce(pages);
        QCoreApplication::processEvents();
    }
    PageView* area() const { return window->findChild<PageView*>(QStringLiteral("PageArea")); }
    QToolButton* button(int n) const {
        return window->findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(n));
    }
};

}  // namespace

class ReportPreviewTest : public QObject {
    Q_OBJECT

  private slots:
    void zoomFormulas_data() {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<int>("fit");
        QTest::addColumn<int>("width");
        QTest::newRow("landscape area") << QSize(1000, 700) << QSize(1123, 794) << 84 << 80;
        QTest::newRow("tall area") << QSize(600, 900) << QSize(1123, 794) << 51 << 48;
        QTest::newRow("large screen") << QSize(1900, 1000) << QSize(1123, 794) << 120 << 152;
    }
    void zoomFormulas() {
        QFETCH(QSize, area);
        QFETCH(QSize, page);
        QFETCH(int, fit);
        QFETCH(int, width);
        QCOMPARE(fitZoom(area, page), fit);
        QCOMPARE(widthZoom(area, page), width);
        QCOMPARE(zoomFor(ZoomMode::Fit, area, page).value_or(-1), fit);
        QCOMPARE(zoomFor(ZoomMode::Percent, area, page, 100).value_or(-1), 100);
    }

    void zoomOutsideTheRangeIsIgnored() {
        QVERIFY(!zoomFor(ZoomMode::Fit, QSize(10, 10), QSize(1123, 794)).has_value());
        QVERIFY(!zoomFor(ZoomMode::Percent, QSize(10, 10), QSize(1123, 794), 2001).has_value());
        QCOMPARE(zoomFor(ZoomMode::Percent, QSize(10, 10), QSize(1123, 794), 2).value_or(-1), 2);
    }

    void windowLayout() {
        Shown shown(3);
        TReportPreview& w = *shown.window;
        QCOMPARE(w.windowTitle(), QStringLiteral("打印预览"));
        const QStringList captions = {QStringLiteral("合适大小"), QStringLiteral("合适宽度"),
                                      QStringLiteral("100%"),     QStringLiteral("设置"),
                                      QStringLiteral("打印"),     QStringLiteral("关闭")};
        for (int n = 1; n <= 6; ++n) {
            QVERIFY(shown.button(n) != nullptr);
            QCOMPARE(shown.button(n)->text(), captions[n - 1]);
        }
        auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("ThumbnailTabs"));
        QVERIFY(tabs != nullptr);
        QCOMPARE(tabs->tabText(0), QStringLiteral("ThumbNails"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Search Results"));
        QCOMPARE(tabs->width(), 193);
        // Both titles show whole within the pane, none cut to "Search R…".
        const QTabBar* bar = tabs->tabBar();
        for (int i = 0; i < bar->count(); ++i) {
            QVERIFY(bar->tabRect(i).right() < tabs->width());
            QVERIFY(bar->tabRect(i).width() >
                    bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
        }
        QCOMPARE(bar->elideMode(), Qt::ElideNone);
        QCOMPARE(w.pageText(), QStringLiteral("Page 1 of 1"));
        QCOMPARE(w.titleText(), QString());
        QCOMPARE(w.findChild<QListView*>(QStringLiteral("ThumbnailList"))->model()->rowCount(), 1);
    }

    void zoomButtonsFollowTheArea() {
        Shown shown(3);
        TReportPreview& w = *shown.window;
        PageView* area = shown.area();
        const QSize paper = area->paperSize();
        QCOMPARE(w.zoomMode(), ZoomMode::Fit);
        QCOMPARE(w.zoom(), fitZoom(area->viewport()->size(), paper));

        QTest::mouseClick(shown.button(2), Qt::LeftButton);
        QCOMPARE(w.zoom(), widthZoom(area->viewport()->size(), paper));

        QTest::mouseClick(shown.button(3), Qt::LeftButton);
        QCOMPARE(w.zoom(), 100);
        QCOMPARE(area->contentSize(), paper + QSize(4, 4));
        w.resize(1200, 800);
        QCoreApplication::processEvents();
        QCOMPARE(w.zoom(), 100);

        QTest::mouseClick(shown.button(1), Qt::LeftButton);
        const int fit = fitZoom(area->viewport()->size(), paper);
        QCOMPARE(w.zoom(), fit);
        QVERIFY(area->pageRect().right() < area->viewport()->width());
        QVERIFY(area->pageRect().left() > 0);
        w.resize(700, 500);  // fit follows the area
        QCoreApplication::processEvents();
        QCOMPARE(w.zoom(), fitZoom(area->viewport()->size(), paper));
        QVERIFY(w.zoom() < fit);
    }

    void pagingKeys() {
        Shown shown(60);  // three pages
        TReportPreview& w = *shown.window;
        QWidget* focus = w.findChild<QListView*>(QStringLiteral("ThumbnailList"));
        focus->setFocus();
        struct Step {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int page;
        };
        const Step steps[] = {
            {Qt::Key_PageUp, Qt::NoModifier, 1},  // before page 1: stays
            {Qt::Key_PageDown, Qt::NoModifier, 2},
            {Qt::Key_PageDown, Qt::ShiftModifier, 3},  // Shift acts as the plain key
            {Qt::Key_PageDown, Qt::NoModifier, 3},     // past the last page: stays
            {Qt::Key_PageUp, Qt::ControlModifier, 1},
            {Qt::Key_PageDown, Qt::ControlModifier, 3},
            {Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier, 2},
            {Qt::Key_Home, Qt::NoModifier, 1},
            {Qt::Key_End, Qt::NoModifier, 3},
        };
        QCOMPARE(w.pageText(), QStringLiteral("Page 1 of 3"));
        for (const Step& step : steps) {
            QTest::keyClick(focus, step.key, step.modifiers);
            QCOMPARE(w.currentPage(), step.page);
            QCOMPARE(w.pageText(), QStringLiteral("Page %1 of 3").arg(step.page));
        }
        auto* list = qobject_cast<QListView*>(focus);
        QCOMPARE(list->currentIndex().row(), 2);

        list->setCurrentIndex(list->model()->index(1, 0));  // a click on the second thumbnail
        QCOMPARE(w.currentPage(), 2);
    }

    void arrowKeysScrollAndTurnPages() {
        Shown shown(60, QSize(900, 500));
        TReportPreview& w = *shown.window;
        QTest::mouseClick(shown.button(3), Qt::LeftButton);  // 100%: taller than the area
        QScrollBar* bar = shown.area()->verticalScrollBar();
        QVERIFY(bar->maximum() > 3 * bar->singleStep());

        QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(bar->value(), bar->singleStep());
        QTest::keyClick(&w, Qt::Key_Up);  // back at the top of page 1
        QCOMPARE(w.currentPage(), 1);
        QCOMPARE(bar->value(), 0);

        while (w.currentPage() == 1) QTest::keyClick(&w, Qt::Key_Down);
        QCOMPARE(w.currentPage(), 2);
        QCOMPARE(bar->value(), 0);
        QTest::keyClick(&w, Qt::Key_Up);  // at the top: previous page, at its bottom
        QCOMPARE(w.currentPage(), 1);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void progressPanel() {
        Shown shown(1);
        TReportPreview& w = *shown.window;
        struct Step {
            int percent;
            const char* text;
        };
        const Step steps[] = {{0, ""},     {3, ""},     {5, "5%"},   {9, "5%"},
                              {10, "10%"}, {45, "45%"}, {48, "45%"}, {100, ""}};
        for (const Step& step : steps) {
            emit shown.pages.progressChanged(step.percent);
            QCOMPARE(w.progressText(), QString::fromUtf8(step.text));
        }
    }

    void escapeClosesAndPreviewReturns() {
        FakeCursor rows(sampleFields(), numberedRows(5));
        TReport report;
        buildSampleReport(report, &rows);
        QString seen;
        whenPreviewReady(report, [&](TReportPreview* preview) {
            seen = preview->pageText();
            QTest::keyClick(preview, Qt::Key_Escape);
        });
        Preview(report);
        QCOMPARE(seen, QStringLiteral("Page 1 of 1"));
        QVERIFY(openPreview() == nullptr);
        QVERIFY(!report.isProducing());
    }

    void pagesAppearWhileLaterPagesAreProduced() {
        FakeCursor rows(sampleFields(), numberedRows(400));
        TReport report;
        buildSampleReport(report, &rows);
        QString seen;
        int shownPage = 0;
        rows.onRow = [&](int row) {
            if (row != 100) return;
            TReportPreview* preview = openPreview();
            QVERIFY(preview != nullptr);
            seen = preview->pageText();
            shownPage = preview->currentPage();
            QTest::mouseClick(preview->findChild<QToolButton*>(QStringLiteral("SpeedButton6")),
                              Qt::LeftButton);
        };
        Preview(report);  // returns once the window is closed, production stopped
        QCOMPARE(seen, QStringLiteral("Page 1 of 3"));  // rows 1-24, 25-53, 54-82 finished
        QCOMPARE(shownPage, 1);
        QCOMPARE(report.rowsPrinted(), 99);  // stopped after the current row
        QVERIFY(report.wasCancelled());
        QVERIFY(openPreview() == nullptr);
    }

    void printWithoutPrinterSavesAPdf() {
        platform::ScriptedPlatform platform;
        platform.printerInstalled = false;
        QTemporaryDir dir;
        platform.saveFileNames.enqueue(dir.filePath(QStringLiteral("进货")));
        FakeCursor rows(sampleFields(), numberedRows(30));
        TReport report;
        buildSampleReport(report, &rows);
        Print(report, nullptr);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("进货.pdf"))));
        QCOMPARE(platform.dialogs.size(), 1);

        Print(report, nullptr);  // the save dialog cancelled: nothing happens
        QCOMPARE(platform.dialogs.size(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    void printerSetupStoresTheChoices() {
        platform::ScriptedPlatform platform;
        TReport report;
        report.Printer.firstPage = 2;
        report.Printer.lastPage = 3;
        QVERIFY(!PrinterSetup(report, nullptr, 5));  // cancelled: nothing changes
        QVERIFY(!report.Printer.fromDialog);
        QCOMPARE(report.Printer.firstPage, 2);

        platform.printAnswers.enqueue(true);
        QVERIFY(PrinterSetup(report, nullptr, 5));
        QVERIFY(report.Printer.fromDialog);
        QCOMPARE(report.Printer.copies, 1);
        QCOMPARE(report.Printer.orientation, QPageLayout::Landscape);
        QCOMPARE(report.Printer.firstPage, 0);  // "all pages" was left chosen
        QCOMPARE(report.Printer.lastPage, 0);

        // A portrait choice is kept, but the landscape layout still goes out landscape.
        report.Printer.orientation = QPageLayout::Portrait;
        QPrinter printer;
        applyPrinterSettings(printer, report);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);

        platform.printerInstalled = false;
        platform.clear();
        QVERIFY(!PrinterSetup(report, nullptr, 5));
        QCOMPARE(platform.dialogs, QList{platform::ScriptedPlatform::Dialog::Message});
        QCOMPARE(report.Printer.copies, 1);
    }

    void printingProgressText() {
        TPrintProgress progress;
        QCOMPARE(progress.windowTitle(), QStringLiteral("Printing progress"));
        progress.setPercent(45);
        QCOMPARE(progress.progressText(), QStringLiteral("45%  Completed"));
        QCOMPARE(progress.barValue(), 45);
        progress.setPercent(47);
        QCOMPARE(progress.progressText(), QStringLiteral("45%  Completed"));
        QSignalSpy cancelled(&progress, &TPrintProgress::cancelRequested);
        QTest::mouseClick(progress.findChild<QPushButton*>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
        QCOMPARE(cancelled.size(), 1);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC"));
    ReportPreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ReportPreviewTest.moc"
