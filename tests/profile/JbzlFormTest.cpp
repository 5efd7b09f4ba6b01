// The company window over a fresh data.mdb, driven with real key and mouse events.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "profile/JbzlForm.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Error.h"
#include "tests/profile/CompanyTable.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TypeCharacters.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using profile::CompanyTexts;

namespace {

const CompanyTexts kStored = {"泉源商贸", "北京市海淀区1号", "张三",
                              "010-1234", "www.quan.cn",     "老客户"};
const CompanyTexts kSecond = {"第二公司", "上海", "李四", "021-9999", "www.two.cn", "不显示"};

using EditOf = QLineEdit& (TJbzlForm::*)();

// Which edit shows which column of 表2, where it sits and whether it takes typing; in tab order.
struct FieldEdit {
    EditOf edit;
    const char* column;
    QRect geometry;
    bool readOnly;
};
const FieldEdit kFieldEdits[] = {
    {&TJbzlForm::companyNameEdit, "公司名称", {80, 16, 321, 19}, true},
    {&TJbzlForm::addressEdit, "公司地址", {80, 40, 321, 19}, false},
    {&TJbzlForm::contactEdit, "联系人", {80, 64, 121, 19}, false},
    {&TJbzlForm::phoneEdit, "联系电话", {280, 64, 121, 19}, false},
    {&TJbzlForm::websiteEdit, "网址", {80, 88, 321, 19}, true},
    {&TJbzlForm::remarkEdit, "备注", {80, 112, 321, 19}, false},
};

std::string& column(CompanyTexts& texts, const char* name) {
    return texts[companytable::columnIndex(name)];
}
std::string column(const CompanyTexts& texts, const char* name) {
    return texts[companytable::columnIndex(name)];
}

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
    static CompanyTexts queryTexts(TJbzlForm& form) {
        return profile::readCompany(form.companyQuery());
    }
    // Replaces an edit's text the way a user does: click into it, select all, type.
    static void retype(QLineEdit& e, const QString& text) {
        QTest::mouseClick(&e, Qt::LeftButton);
        QTest::keyClick(&e, Qt::Key_A, Qt::ControlModifier);
        testsupport::typeCharacters(&e, text);
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
        for (const FieldEdit& field : kFieldEdits) {
            QLineEdit& edit = (form.get()->*field.edit)();
            QCOMPARE(edit.geometry(), field.geometry);
            QCOMPARE(edit.parentWidget()->objectName(), QStringLiteral("Panel2"));
            QCOMPARE(edit.isReadOnly(), field.readOnly);
            // The read-only edits look like the others.
            const QImage image = edit.grab().toImage();
            QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::white));
        }
        QCOMPARE(form->saveButton().geometry(), QRect(264, 8, 57, 22));
        QCOMPARE(form->cancelButton().geometry(), QRect(336, 8, 57, 22));
        QCOMPARE(form->saveButton().text(), QStringLiteral("保存"));
        QCOMPARE(form->cancelButton().text(), QStringLiteral("取消"));
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("基本资料   保存"));
        QCOMPARE(form->findChild<QWidget*>(QStringLiteral("Panel1"))->height(), 39);
    }

    void tabGoesThroughTheFieldsInOrder() {
        auto form = openForm();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->companyNameEdit().setFocus();
        for (const FieldEdit& field : kFieldEdits) {
            QCOMPARE(QApplication::focusWidget(), &(form.get()->*field.edit)());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }

    void eachEditShowsItsColumnOfTheFirstRow() {
        companytable::replaceRows(db_->path(), {kStored, kSecond});
        auto form = openForm();
        for (const FieldEdit& field : kFieldEdits)
            QCOMPARE((form.get()->*field.edit)().text().toStdString(),
                     column(kStored, field.column));
        QCOMPARE(queryTexts(*form), kStored);
    }

    void emptyTableOpensEmptyAndSaveCreatesTheOneRow() {
        auto form = openForm();
        for (const FieldEdit& field : kFieldEdits)
            QVERIFY((form.get()->*field.edit)().text().isEmpty());
        testsupport::typeCharacters(&form->companyNameEdit(),
                                    QStringLiteral("不能输入"));  // read-only
        retype(form->addressEdit(), QStringLiteral("广州市天河路"));
        QTest::mouseClick(&form->saveButton(), Qt::LeftButton);

        CompanyTexts expected;
        column(expected, "公司地址") = "广州市天河路";
        QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{expected});
        QCOMPARE(queryTexts(*form), expected);
        QCOMPARE(platform_->messageTexts(), QStringList{QStringLiteral("基本资料保存成功！")});
        QCOMPARE(platform_->messages.first().kind, platform::MessageKind::Plain);
        QVERIFY(!form->isVisible());
    }

    // Every edit that takes typing is saved into its own column of the company row, the first
    // of the table; what is typed into a read-only edit is not taken.
    void eachEditIsSavedIntoItsColumn() {
        companytable::replaceRows(db_->path(), {kStored, kSecond});
        auto form = openForm();
        CompanyTexts expected = kStored;
        for (const FieldEdit& field : kFieldEdits) {
            QLineEdit& edit = (form.get()->*field.edit)();
            const QString typed = QStringLiteral("新") + QString::fromUtf8(field.column);
            if (field.readOnly) {
                testsupport::typeCharacters(&edit, typed);
            } else {
                retype(edit, typed);
                column(expected, field.column) = typed.toStdString();
            }
        }
        QTest::mouseClick(&form->saveButton(), Qt::LeftButton);

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
        retype(form->phoneEdit(), QStringLiteral("999"));
        if (closeBox)
            form->close();
        else
            QTest::mouseClick(&form->cancelButton(), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QVERIFY(platform_->messages.isEmpty());
        QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{kStored});
        QCOMPARE(queryTexts(*form), kStored);

        // Opened again: the typed telephone is still there, and saving stores it.
        form->show();
        QCOMPARE(form->phoneEdit().text(), QStringLiteral("999"));
        QTest::mouseClick(&form->saveButton(), Qt::LeftButton);
        CompanyTexts expected = kStored;
        column(expected, "联系电话") = "999";
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
        retype(form->contactEdit(), QStringLiteral("王五"));
        if (dropTable)
            store::Database(db_->path(), store::kDatabasePassword)
                .exec(std::string("drop table ") + store::schema::kCompany);
        else
            retype(form->remarkEdit(), QString(300, QLatin1Char('x')));

        QTest::mouseClick(&form->saveButton(), Qt::LeftButton);
        QVERIFY(form->isVisible());
        QCOMPARE(platform_->messages.size(), 1);
        QVERIFY(platform_->messages[0].text.contains(
            dropTable ? QString::fromUtf8(store::schema::kCompany) : QStringLiteral("备注")));
        QCOMPARE(form->companyQuery().state(), store::Query::State::Browse);
        QCOMPARE(queryTexts(*form), kStored);
        QCOMPARE(form->contactEdit().text(), QStringLiteral("王五"));
        if (!dropTable) {
            QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{kStored});
            // A later save with an acceptable text goes through.
            retype(form->remarkEdit(), QStringLiteral("短"));
            QTest::mouseClick(&form->saveButton(), Qt::LeftButton);
            CompanyTexts expected = kStored;
            column(expected, "联系人") = "王五";
            column(expected, "备注") = "短";
            QCOMPARE(companytable::storedRows(db_->path()), std::vector<CompanyTexts>{expected});
            QCOMPARE(platform_->messageTexts().last(), QStringLiteral("基本资料保存成功！"));
        } else {
            QTest::mouseClick(&form->cancelButton(), Qt::LeftButton);  // the next command works
            QVERIFY(!form->isVisible());
        }
        QCOMPARE(platform_->messages.size(), dropTable ? 1 : 2);
    }
};

QTEST_MAIN(JbzlFormTest)
#include "JbzlFormTest.moc"
#include "store/Schema.h"
