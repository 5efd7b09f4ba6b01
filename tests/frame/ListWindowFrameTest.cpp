#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <stdexcept>

#include "frame/ListWindowFrame.h"
#include "grid/DataGrid.h"
#include "grid/ListColumns.h"
#include "store/Schema.h"
#include "tests/support/GridClicks.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using testsupport::TestDatabase;

namespace {

// The smallest list window: the goods list, a tool button, a menu item, a list double click and a
// label that acts as a button, each with its handler named after it.
class SampleWindow : public QWidget {
    Q_OBJECT
  public:
    SampleWindow() {
        frame.tables().open();
        list = new grid::TDataGrid(this);
        list->setObjectName(QStringLiteral("DataGrid1"));
        button = new QToolButton(this);
        button->setObjectName(QStringLiteral("SpeedButton1"));
        label = new QLabel(QStringLiteral("【退出】"), this);
        label->setObjectName(QStringLiteral("Label1"));
        item = new QAction(QStringLiteral("刷新"), this);
        item->setObjectName(QStringLiteral("N1"));
        menu = frame.setUpList(*list, grid::purchaseListColumns(), false, frame.query(0), {item},
                               [this](const std::vector<int>& rows) { deleted = rows; });
        frame.connectCommandsByName();
        frame.onActivation([this] { ++activations; }, [this] { return activateAlways; });
        frame.onClose([this] { ++closings; });
        frame.finishSetUp();
    }

    frame::ListWindowFrame frame{*this, {store::schema::kGoods}};
    grid::TDataGrid* list = nullptr;
    QToolButton* button = nullptr;
    QLabel* label = nullptr;
    QAction* item = nullptr;
    QMenu* menu = nullptr;
    QStringList ran;           // the handlers run, in order
    std::vector<int> deleted;  // the rows the list asked to delete
    int activations = 0;
    int closings = 0;
    bool activateAlways = false;
    bool labelThrows = false;

  private slots:
    void SpeedButton1Click() { ran << QStringLiteral("SpeedButton1"); }
    void N1Click() { ran << QStringLiteral("N1"); }
    void DataGrid1DblClick() { ran << QStringLiteral("DataGrid1"); }
    void Label1Click() {
        ran << QStringLiteral("Label1");
        if (labelThrows) throw std::runtime_error("标签出错");
    }
};

// A window whose handler has lost its control.
class BrokenWindow : public QWidget {
    Q_OBJECT
  public:
    BrokenWindow() { frame.connectCommandsByName(); }
    frame::ListWindowFrame frame{*this, {store::schema::kGoods}};

  private slots:
    void SpeedButton9Click() {}
};

}  // namespace

class ListWindowFrameTest : public QObject {
    Q_OBJECT

    std::unique_ptr<platform::ScriptedPlatform> scripted_;

  private slots:
    void init() { scripted_ = std::make_unique<platform::ScriptedPlatform>(); }
    void cleanup() { scripted_.reset(); }

    void theListShowsTheQueryWithTheContextMenu() {
        TestDatabase database(TestDatabase::Content::Demo);
        SampleWindow window;
        QCOMPARE(window.list->query(), &window.frame.query(0));
        QVERIFY(window.frame.query(0).recordCount() > 0);
        QCOMPARE(window.menu->objectName(), QStringLiteral("PopupMenu1"));
        QCOMPARE(window.menu->actions(), QList<QAction*>{window.item});
        // The list asks the window to delete its selected rows.
        window.list->setGeometry(0, 0, 600, 300);
        window.show();
        testsupport::clickRow(*window.list, 1, Qt::ControlModifier);
        window.list->deleteSelected();
        QCOMPARE(window.deleted, std::vector<int>{1});
    }

    // A restore closes every window's connection but the ones kept open; a window gone is
    // forgotten.
    void aRestoreReleasesTheConnectionsOfFramedWindowsOnly() {
        TestDatabase database;
        store::WindowTables kept({store::schema::kCompany},
                                 store::WindowTables::OnRestore::KeepOpen);
        kept.open();
        auto gone = std::make_unique<SampleWindow>();
        gone.reset();
        SampleWindow window;
        QVERIFY(window.frame.connection().isOpen());
        store::WindowTables::releaseAllForRestore();
        QVERIFY(!window.frame.connection().isOpen());
        QVERIFY(kept.connection().isOpen());
    }

    // Coming back from another of the program's windows runs the activation; a window's own
    // condition can ask for it too.
    void activationFromAnotherWindowRunsTheHandler() {
        TestDatabase database;
        SampleWindow window;
        SampleWindow other;
        window.show();
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        const int before = window.activations;
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.activations, before + 1);

        window.activateAlways = true;
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(window.activations, before + 2);
    }

    void closingRunsTheHandlerAndTheWindowCloses() {
        TestDatabase database;
        SampleWindow window;
        window.show();
        QVERIFY(window.close());
        QCOMPARE(window.closings, 1);
        QVERIFY(!window.isVisible());
    }

    // Each control runs the handler named after it; a label only on a left click released over
    // it. An error of a handler is shown and goes no further.
    void controlsRunTheHandlersNamedAfterThem() {
        TestDatabase database;
        SampleWindow window;
        window.show();
        window.button->click();
        window.item->trigger();
        emit window.list->doubleClicked();
        QTest::mouseClick(window.label, Qt::RightButton);
        QTest::mouseClick(window.label, Qt::LeftButton);
        QCOMPARE(window.ran, (QStringList{QStringLiteral("SpeedButton1"), QStringLiteral("N1"),
                                          QStringLiteral("DataGrid1"), QStringLiteral("Label1")}));
        window.labelThrows = true;
        QTest::mouseClick(window.label, Qt::LeftButton);
        QCOMPARE(scripted_->messages.size(), 1);
        QCOMPARE(scripted_->messages.front().text, QStringLiteral("标签出错"));
    }

    void aHandlerWithoutItsControlIsAFaultOfTheWindow() {
        TestDatabase database;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, BrokenWindow());
    }
};

QTEST_MAIN(ListWindowFrameTest)
#include "ListWindowFrameTest.moc"
