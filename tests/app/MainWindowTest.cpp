#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "grid/DataGrid.h"
#include "platform/Fonts.h"
#include "profile/JbzlForm.h"
#include "sales/XsxxForm.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/app/StartedProgram.h"
#include "tests/support/QuitWatcher.h"
#include "tests/support/StoredRows.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using testsupport::QuitWatcher;

namespace {

// A purchase row written through a connection of its own, as another window would.
void addPurchaseElsewhere(const char* code, const char* amount) {
    testsupport::appendRows(store::schema::kGoods, {{{"商品编码", code}, {"进货金额", amount}}});
}

void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { platform::installFonts(); }

    void init() { program_ = std::make_unique<apptest::StartedProgram>(); }
    void cleanup() { program_.reset(); }

    void frameIsFixedAndCentred() {
        TMainForm& main = windows().mainForm();
        main.show();
        QCOMPARE(main.windowTitle(), QStringLiteral("Quenvar进销存管理软件 V2.0（旗舰版）"));
        QCOMPARE(main.centralWidget()->size(), QSize(1000, 603));
        QCOMPARE(main.minimumSize(), main.maximumSize());
        QVERIFY(!(main.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(main.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!main.windowIcon().isNull());
        const QRect screen = main.screen()->availableGeometry();
        // Centred as far as the frame, which the window system adds, is known beforehand.
        const QPoint offset = main.frameGeometry().center() - screen.center();
        QVERIFY2(qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4,
                 qPrintable(QString::number(offset.x())));
    }

    void controlsStandWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        const char* captions[] = {"添加信息", "修改信息", "删除信息", "查询信息",
                                  "刷新信息", "进货打印", "数据导出"};
        for (int k = 0; k < 7; ++k) {
            const QString name = QStringLiteral("SpeedButton%1").arg(k + 1);
            QTest::newRow(qPrintable(name))
                << name << QRect(24 + 112 * k, 7, 105, 33) << QString::fromUtf8(captions[k]);
        }
        QTest::newRow("Image1") << "Image1" << QRect(0, 0, 1000, 603) << "";
        QTest::newRow("Image4") << "Image4" << QRect(888, 10, 99, 27) << "";
        QTest::newRow("Panel1") << "Panel1" << QRect(12, 60, 976, 505) << "";
        QTest::newRow("DataGrid1") << "DataGrid1" << QRect(0, 0, 976, 505) << "";
        QTest::newRow("Panel2") << "Panel2" << QRect(240, 88, 425, 289) << "";
        QTest::newRow("Panel5") << "Panel5" << QRect(224, 168, 481, 97) << "";
        QTest::newRow("Edit1") << "Edit1" << QRect(80, 40, 121, 19) << "";
        QTest::newRow("Edit2") << "Edit2" << QRect(280, 40, 121, 19) << "";
        QTest::newRow("Edit7") << "Edit7" << QRect(280, 120, 121, 19) << "";
        QTest::newRow("Edit10") << "Edit10" << QRect(80, 176, 321, 19) << "";
        QTest::newRow("Edit12") << "Edit12" << QRect(80, 224, 321, 19) << "";
        QTest::newRow("Edit14") << "Edit14" << QRect(272, 40, 121, 19) << "";
        QTest::newRow("Edit16") << "Edit16" << QRect(272, 64, 121, 19) << "";
        QTest::newRow("Button1") << "Button1" << QRect(136, 256, 57, 22) << "添加";
        QTest::newRow("Button3") << "Button3" << QRect(136, 256, 57, 22) << "修改";
        QTest::newRow("Button2") << "Button2" << QRect(224, 256, 57, 22) << "取消";
        QTest::newRow("Button4") << "Button4" << QRect(400, 38, 57, 22) << "查询";
        QTest::newRow("Image2") << "Image2" << QRect(400, 8, 16, 16) << "";
        QTest::newRow("Image3") << "Image3" << QRect(456, 8, 16, 16) << "";
    }

    void controlsStandWhereTheLayoutPutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        auto* widget = windows().mainForm().findChild<QWidget*>(name);
        QVERIFY(widget != nullptr);
        QCOMPARE(widget->geometry(), geometry);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) QCOMPARE(button->text(), text);
    }

    void toolButtonsAndHints() {
        TMainForm& main = windows().mainForm();
        auto* button = main.findChild<QToolButton*>("SpeedButton3");
        QCOMPARE(button->font().family(), QStringLiteral("宋体"));
        QCOMPARE(button->font().pixelSize(), 15);
        QVERIFY(button->font().bold());
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(main.findChild<QWidget*>("DataGrid1")->toolTip(),
                 QStringLiteral("双击可以修改信息"));
        for (const char* close : {"Image2", "Image3"}) {
            auto* picture = main.findChild<QToolButton*>(close);
            QCOMPARE(picture->toolTip(), QStringLiteral("关闭"));
            QCOMPARE(picture->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(main.findChild<QWidget*>("Mark2")->toolTip(), QStringLiteral("进货信息"));
        QCOMPARE(main.findChild<QWidget*>("Panel2")->cursor().shape(), Qt::SizeAllCursor);
        QCOMPARE(main.findChild<QWidget*>("Button2")->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(main.findChild<QWidget*>("Edit13")->cursor().shape(), Qt::IBeamCursor);
    }

    void panelsStartHiddenInAddMode() {
        TMainForm& main = windows().mainForm();
        main.show();
        QVERIFY(!main.findChild<QWidget*>("Panel2")->isVisible());
        QVERIFY(!main.findChild<QWidget*>("Panel5")->isVisible());
        QVERIFY(!main.findChild<QWidget*>("Button1")->isHidden());
        QVERIFY(main.findChild<QWidget*>("Button3")->isHidden());
    }

    void entryPanelTabOrderPutsTheNameAfterTheButtons() {
        TMainForm& main = windows().mainForm();
        QWidget* panel = main.findChild<QWidget*>("Panel2");
        QStringList chain;
        QWidget* w = main.findChild<QWidget*>("Edit1");
        do {
            if (w->parentWidget() == panel && (w->focusPolicy() & Qt::TabFocus))
                chain << w->objectName();
            w = w->nextInFocusChain();
        } while (w->objectName() != "Edit1");
        QCOMPARE(chain, QStringList({"Edit1", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8",
                                     "Edit9", "Edit10", "Edit11", "Edit12", "Button1", "Button2",
                                     "Edit2", "Button3"}));
    }

    void menusHoldTheirItemsInOrder() {
        TMainForm& main = windows().mainForm();
        QStringList bar;
        for (QAction* action : main.menuBar()->actions()) {
            QVERIFY(action->menu() == nullptr);
            bar << action->objectName() + u':' + action->text();
        }
        QCOMPARE(bar, QStringList({"N5:【基本资料】", "N6:【销售信息】", "N8:【数据备份】",
                                   "N9:【数据恢复】", "N18:【数据导入】", "N19:【撤销导入】",
                                   "N10:【技术支持】", "N15:【常见问题】", "N17:【退出软件】"}));
        QStringList popup;
        for (QAction* action : main.popupMenu()->actions())
            popup << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(popup,
                 QStringList({"添加信息", "修改信息", "删除信息", "-", "查询信息", "刷新信息", "-",
                              "进货打印", "数据导出", "-", "数据导入", "撤销导入"}));
        QCOMPARE(main.popupMenu()->objectName(), QStringLiteral("PopupMenu1"));
    }

    void purchaseListShowsThirteenColumns() {
        auto* grid = windows().mainForm().findChild<grid::TDataGrid*>("DataGrid1");
        const auto& columns = grid->columns();
        QCOMPARE(columns.size(), size_t(13));
        QCOMPARE(columns[0].caption, QStringLiteral("①商品信息|商品编码"));
        QCOMPARE(columns[0].footer, grid::FooterKind::StaticText);
        QCOMPARE(columns[0].footerText, QStringLiteral("合计"));
        QCOMPARE(columns[5].field, QStringLiteral("进货单价"));
        QCOMPARE(columns[5].caption, QStringLiteral("②进货信息|单价"));
        QCOMPARE(columns[5].displayFormat, QStringLiteral("#0.##"));
        QCOMPARE(columns[7].footer, grid::FooterKind::Sum);
        QCOMPARE(columns[7].footerFormat, QStringLiteral("#0.##"));
        QCOMPARE(columns[11].width, 120);
        QCOMPARE(columns[12].caption, QStringLiteral("备注"));
        QCOMPARE(grid->query(), &windows().mainForm().goodsQuery());
    }

    void activationRereadsTheGoodsTable() {
        TMainForm& main = windows().mainForm();
        activate(main);
        QCOMPARE(main.goodsQuery().recordCount(), 0);

        addPurchaseElsewhere("A-1", "12.5");
        addPurchaseElsewhere("A-2", "7.25");
        QCOMPARE(main.goodsQuery().recordCount(), 0);  // a snapshot until read again

        QWidget other;
        activate(other);
        activate(main);
        QCOMPARE(main.goodsQuery().recordCount(), 2);
        QCOMPARE(main.goodsQuery().currentIndex(), 0);
        auto* grid = main.findChild<grid::TDataGrid*>("DataGrid1");
        QCOMPARE(grid->footerText(0), QStringLiteral("合计"));
        QCOMPARE(grid->footerText(7), QStringLiteral("19.75"));
    }

    void closingAMessageBoxKeepsTheListAsItWas() {
        TMainForm& main = windows().mainForm();
        activate(main);
        addPurchaseElsewhere("A-1", "12.5");

        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示"),
                        QStringLiteral("修改进货信息成功！"), QMessageBox::Ok, &main);
        activate(box);
        box.close();
        activate(main);
        QCOMPARE(main.goodsQuery().recordCount(), 0);  // no re-read: a search or a position stays
    }

    void anErrorWhileReReadingIsShownOnce() {
        TMainForm& main = windows().mainForm();
        activate(main);
        QVERIFY(QFile::remove(QString::fromStdString(program_->database().path())));
        QWidget other;
        activate(other);
        activate(main);
        QCOMPARE(scripted().messages.size(), 1);
        QMessageBox errorBox(&main);  // the box that showed the error closes
        activate(errorBox);
        errorBox.close();
        activate(main);
        QCOMPARE(scripted().messages.size(), 1);
    }

    // The error ends the command at its own edge: this test runs under a plain QApplication, so
    // an exception reaching Qt's event code would end the test program.
    void anErrorInACommandIsShownOnceAndTheNextCommandWorks() {
        TMainForm& main = windows().mainForm();
        activate(main);
        const QString file = QString::fromStdString(program_->database().path());
        QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
        auto* refresh = main.findChild<QToolButton*>(QStringLiteral("SpeedButton5"));
        QVERIFY(refresh != nullptr);
        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(scripted().messages.size(), 1);
        QVERIFY(scripted().messages[0].text.contains(QStringLiteral("文件不存在")));

        QVERIFY(QFile::rename(file + QStringLiteral(".away"), file));
        addPurchaseElsewhere("A-1", "12.5");
        QTest::mouseClick(refresh, Qt::LeftButton);
        QCOMPARE(scripted().messages.size(), 1);
        QCOMPARE(main.goodsQuery().recordCount(), 1);
        QVERIFY(main.isVisible());
    }

    void n17ClosesTheMainWindowAndEndsTheProgram() {
        TMainForm& main = windows().mainForm();
        QuitWatcher quits;
        main.show();
        QTimer::singleShot(0, &main, [&] {
            main.findChild<QAction*>("N17")->trigger();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::exit(7);
        });
        QCOMPARE(QCoreApplication::exec(), 7);
        QVERIFY(!main.isVisible());
        QCOMPARE(quits.count, 1);
    }

    void salesWindowReplacesTheMainWindowWhileOpen() {
        TMainForm& main = windows().mainForm();
        TXsxxForm& sales = windows().salesWindow();
        QuitWatcher quits;
        activate(main);
        bool seen = false;
        bool back = false;
        QTimer::singleShot(0, &main, [&] {
            QTimer::singleShot(0, &sales, [&] {
                seen = sales.isVisible() && !main.isVisible() && sales.isModal();
                sales.close();
            });
            main.findChild<QAction*>("N6")->trigger();
            back = main.isVisible() && !sales.isVisible();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::exit(7);
        });
        QCOMPARE(QCoreApplication::exec(), 7);
        QVERIFY(seen);
        QVERIFY(back);
        QCOMPARE(quits.count, 0);  // closing the sales window does not end the program
    }

    void companyWindowIsModalOverTheMainWindow() {
        TMainForm& main = windows().mainForm();
        TJbzlForm& company = windows().companyWindow();
        main.show();
        bool seen = false;
        QTimer::singleShot(0, &company, [&] {
            seen = company.isVisible() && main.isVisible() && company.isModal();
            company.close();
        });
        main.findChild<QAction*>("N5")->trigger();
        QVERIFY(seen);
        QVERIFY(main.isVisible());
        QVERIFY(!company.isVisible());
    }

    void supportCommandsOpenTheVendorsPages() {
        TMainForm& main = windows().mainForm();
        main.show();
        main.findChild<QAction*>("N10")->trigger();
        QTest::mouseClick(main.findChild<QToolButton*>("Image4"), Qt::LeftButton);
        main.findChild<QAction*>("N15")->trigger();
        QCOMPARE(scripted().openedUrls.size(), 3);
        QCOMPARE(scripted().openedUrls[0], scripted().openedUrls[1]);
        QVERIFY(scripted().openedUrls[2] != scripted().openedUrls[0]);
        for (const QString& url : scripted().openedUrls) QVERIFY(url.startsWith("https://"));
    }

  private:
    platform::ScriptedPlatform& scripted() { return program_->platform(); }
    startup::Windows& windows() { return program_->windows(); }

    std::unique_ptr<apptest::StartedProgram> program_;
};

int main(int argc, char** argv) {
    // Not the program's application object: its last net for errors stays out of these tests,
    // so every error must be caught where its command runs.
    QApplication application(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "MainWindowTest.moc"
