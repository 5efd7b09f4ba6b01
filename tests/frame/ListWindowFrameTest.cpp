#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "frame/ListWindowFrame.h"
#include "grid/ColumnMakers.h"
#include "grid/DataGrid.h"
#include "platform/ScriptedPlatform.h"
#include "store/Schema.h"
#include "tests/support/TestDatabase.h"

using testsupport::TestDatabase;

namespace {

// The smallest list window: the goods list, one menu item and a label that acts as a button.
class SampleWindow : public QWidget {
  public:
    SampleWindow() {
        frame.tables().open();
        list = new grid::TDataGrid(this);
        label = new QLabel(QStringLiteral("【退出】"), this);
        item = new QAction(QStringLiteral("刷新"), this);
        menu = frame.setUpList(*list, {grid::textColumn("商品编码", "商品编码", 65)}, false,
                               frame.query(0), {item});
        frame.onActivation([this] { ++activations; }, [this] { return activateAlways; });
        frame.onClose([this] { ++closings; });
        frame.onLabelClick(*label, [this] {
            ++labelClicks;
            if (labelThrows) throw std::runtime_error("标签出错");
        });
        frame.finishSetUp();
    }

    frame::ListWindowFrame frame{*this, {store::schema::kGoods}};
    grid::TDataGrid* list = nullptr;
    QLabel* label = nullptr;
    QAction* item = nullptr;
    QMenu* menu = nullptr;
    int activations = 0;
    int closings = 0;
    int labelClicks = 0;
    bool activateAlways = false;
    bool labelThrows = false;
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

    // Only a left click released over the label counts; an error of its handler is shown and
    // goes no further.
    void aLabelActsAsAButton() {
        TestDatabase database;
        SampleWindow window;
        window.show();
        QTest::mouseClick(window.label, Qt::RightButton);
        QCOMPARE(window.labelClicks, 0);
        QTest::mouseClick(window.label, Qt::LeftButton);
        QCOMPARE(window.labelClicks, 1);
        window.labelThrows = true;
        QTest::mouseClick(window.label, Qt::LeftButton);
        QCOMPARE(window.labelClicks, 2);
        QCOMPARE(scripted_->messages.size(), 1);
        QCOMPARE(scripted_->messages.front().text, QStringLiteral("标签出错"));
    }
};

QTEST_MAIN(ListWindowFrameTest)
#include "ListWindowFrameTest.moc"
