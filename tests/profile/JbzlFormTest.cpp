// The company window over a fresh data.mdb, driven with real key and mouse events.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "platform/ScriptedPlatform.h"
#include "profile/JbzlForm.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "tests/profile/CompanyTable.h"
#include "tests/support/TestDatabase.h"

using profile::CompanyTexts;

namespace {

const CompanyTexts kStored = {"泉源商贸", "北京市海淀区1号", "张三",
                              "010-1234", "www.quan.cn",     "老客户"};
const CompanyTexts kSecond = {"第二公司", "上海", "李四", "021-9999", "www.two.cn", "不显示"};

}  // namespace

class JbzlFormTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testsupport::TestDatabase> db_;
    std::unique_ptr<platform::ScriptedPlatform> platform_;

    std::unique_ptr<TJbzlForm> openForm() {
        auto form = std::make_unique<TJbzlForm>();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qWarning("company window not exposed");
        return form;
    }
    static QLineEdit* edit(QWidget& form, int number) {
        auto* e = form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(number));
        if (e == nullptr) qFatal("Edit%d missing", number);
        return e;
    }
    static CompanyTexts editTexts(QWidget& form) {
        CompanyTexts texts;
        for (int i = 0; i < 6; ++i) texts[i] = edit(form, i + 1)->text().toStdString();
        return texts;
    }
    static CompanyTexts queryTexts(TJbzlForm& form) {
        return profile::readCompany(form.companyQuery());
    }
    static void click(QWidget& form, const char* button) {
        auto* b = form.findChild<QToolButton*>(QString::fromLatin1(button));
        if (b == nullptr) qFatal("%s missing", button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Key presses carrying the characters of text (QTest::keyClicks takes Latin-1 only).
    static void type(QWidget* w, const QString& text) {
        for (QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), {});
    }
    // Replaces an edit's text the way a user does: click into it, select all, type.
    static void retype(QLineEdit* e, const QString& text) {
        QTest::mouseClick(e, Qt::LeftButton);
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        type(e, text);
    }

  private slots:
    void init() {
        db_ = std::make_unique<testsupport::TestDatabase>();
        platform_ = std::make_unique<platform::ScriptedPlatform>();
    }
    void cleanup() {
        platform_.reset();
        db_.reset();
    }

    void layoutFollowsTheWindowTable() {
        auto form = openForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("基本资料"));
        QCOMPARE(form->size(), QSize(428, 187));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
        const QRect expected[] = {{80, 16, 321, 19},  {80, 40, 321, 19}, {80, 64, 121, 19},
                                  {280, 64, 121, 19}, {80, 88, 321, 19}, {80, 112, 321, 19}};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(edit(*form, i + 1)->geometry(), expected[i]);
            QCOMPARE(edit(*form, i + 1)->parentWidget()->objectName(), QStringLiteral("Panel2"));
            QCOMPARE(edit(*form, i + 1)->isReadOnly(), i == 0 || i == 4);
        }
        // The read-only edits look like the others.
        for (int i : {1, 5}) {
            const QImage image = edit(*form, i)->grab().toImage();
            QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::white));
        }
        auto* save = form->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
        auto* cancel = form->findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
        QCOMPARE(save->geometry(), QRect(264, 8, 57, 22));
        QCOMPARE(cancel->geometry(), QRect(336, 8, 57, 22));
        QCOMPARE(save->text(), QStringLiteral("保存"));
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("基本资料   保存"));
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("Panel1"))->height(), 39);
    }

    void tabGoesFromEdit1ToEdit6() {
        auto form = openForm();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        edit(*form, 1)->setFocus();
        for (int i = 2; i <= 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), edit(*form, i));
        }
    }

    void fillsTheEditsFromTheFirstRow() {
        companytable::replaceRows(db_->path(), {kStored, kSecond});
        auto form = openForm();
        QCOMPARE(editTexts(*form), kStored);
        QCOMPARE(queryTexts(*form), kStored);
    }

    void emptyTableOpensEmptyAndSaveCreatesTheOneRow() {
        auto form = openForm();
        QCOMPARE(editTexts(*form), CompanyTexts{});
        type(edit(*form, 1), QStringLiteral("不能输入"));  // read-only
        retype(edit(*form, 2), QStringLiteral("广州市天河路"));
        click(*form, "SpeedButton1");

        const CompanyTexts expected = {"", "广州市天河路", "", "", "", ""};
        QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{expected});
        QCOMPARE(queryTexts(*form), expected);
        QCOMPARE(platform_->messageTexts(), QStringList{QStringLiteral("基本资料保存成功！")});
        QCOMPARE(platform_->messages.first().kind, platform::MessageKind::Plain);
        QVERIFY(!form->isVisible());
    }

    void saveWritesAllSixIntoTheCompanyRow() {
        companytable::replaceRows(db_->path(), {kStored, kSecond});
        auto form = openForm();
        retype(edit(*form, 4), QStringLiteral("13800000000"));
        retype(edit(*form, 6), QStringLiteral("新备注"));
        type(edit(*form, 5), QStringLiteral("x"));  // read-only
        click(*form, "SpeedButton1");

        CompanyTexts expected = kStored;
        expected[3] = "13800000000";
        expected[5] = "新备注";
        QCOMPARE(companytable::storedRows(db_->path()),
                 (std::vector<CompanyTexts>{expected, kSecond}));
        QCOMPARE(queryTexts(*form), expected);  // what the next report heading reads
        QCOMPARE(platform_->messageTexts(), QStringList{QStringLiteral("基本资料保存成功！")});
        QVERIFY(!form->isVisible());
    }

    void cancelKeepsTypedTextsAndWritesNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("取消") << false;
        QTest::newRow("close box") << true;
    }
    void cancelKeepsTypedTextsAndWritesNothing() {
        QFETCH(bool, closeBox);
        companytable::replaceRows(db_->path(), {kStored});
        auto form = openForm();
        retype(edit(*form, 4), QStringLiteral("999"));
        if (closeBox)
            form->close();
        else
            click(*form, "SpeedButton2");
        QVERIFY(!form->isVisible());
        QVERIFY(platform_->messages.isEmpty());
        QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{kStored});
        QCOMPARE(queryTexts(*form), kStored);

        // Opened again: the typed telephone is still there, and saving stores it.
        form->show();
        QCOMPARE(edit(*form, 4)->text(), QStringLiteral("999"));
        click(*form, "SpeedButton1");
        CompanyTexts expected = kStored;
        expected[3] = "999";
        QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{expected});
    }

    // A refused save shows its error once at the command's edge (no exception reaches Qt: this
    // test runs under a plain QApplication), the window stays open and goes on working, and the
    // company query keeps the stored values for the reports.
    void refusedSaveLeavesTheStoredValues_data() {
        QTest::addColumn<bool>("dropTable");
        QTest::newRow("value too long") << false;
        QTest::newRow("post refused") << true;
    }
    void refusedSaveLeavesTheStoredValues() {
        QFETCH(bool, dropTable);
        companytable::replaceRows(db_->path(), {kStored});
        auto form = openForm();
        retype(edit(*form, 3), QStringLiteral("王五"));
        if (dropTable)
            store::Database(db_->path(), store::kDatabasePassword).exec("drop table 表2");
        else
            retype(edit(*form, 6), QString(300, QLatin1Char('x')));

        click(*form, "SpeedButton1");
        QVERIFY(form->isVisible());
        QCOMPARE(platform_->messages.size(), 1);
        QVERIFY(platform_->messages[0].text.contains(dropTable ? QStringLiteral("表2")
                                                               : QStringLiteral("备注")));
        QCOMPARE(form->companyQuery().state(), store::Query::State::Browse);
        QCOMPARE(queryTexts(*form), kStored);
        QCOMPARE(edit(*form, 3)->text(), QStringLiteral("王五"));
        if (!dropTable) {
            QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{kStored});
            // A later save with an acceptable text goes through.
            retype(edit(*form, 6), QStringLiteral("短"));
            click(*form, "SpeedButton1");
            CompanyTexts expected = kStored;
            expected[2] = "王五";
            expected[5] = "短";
            QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{expected});
            QCOMPARE(platform_->messageTexts().last(), QStringLiteral("基本资料保存成功！"));
        } else {
            click(*form, "SpeedButton2");  // the next command works
            QVERIFY(!form->isVisible());
        }
        QCOMPARE(platform_->messages.size(), dropTable ? 1 : 2);
    }
};

QTEST_MAIN(JbzlFormTest)
#include "JbzlFormTest.moc"
