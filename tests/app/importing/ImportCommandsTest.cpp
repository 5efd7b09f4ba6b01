// "数据导入" and "撤销导入" of the main window: the file dialog, the preview, the import, the list
// of imports.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>

#include "app/MainForm.h"
#include "backup/AutoBackupSettings.h"
#include "importing/ImportForm.h"
#include "importing/ImportListForm.h"
#include "importing/records/MappingMemory.h"
#include "store/Schema.h"
#include "tests/importing/records/RowsSource.h"
#include "tests/support/StoredRows.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

namespace column = store::schema::column;
using testsupport::storedRows;

class ImportCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toUtf8()); }

    void init() {
        database_ = std::make_unique<testsupport::TestDatabase>();
        scripted_ = std::make_unique<platform::ScriptedPlatform>();
        form_ = std::make_unique<TMainForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    void cleanup() {
        form_.reset();
        scripted_.reset();
        database_.reset();
    }

    // The purchase list's captions map; a bad row keeps 导入 disabled until it is skipped; a
    // column chosen by hand is remembered for the file's headers; the same file again is told.
    void previewShowsProblemsAndImportsTheRest() {
        const QString path = file("到货.csv",
                                  "商品编码,商品名称,单价,②进货信息|数量,说明\n"
                                  "06932169358293,铅笔,1.5,10,甲\n"
                                  "B2,尺,abc,2,乙\n"
                                  "B3,本,2,3,丙\n");
        scripted_->openFileNames.enqueue(path);
        whenShown<TImportForm>([](TImportForm& preview) {
            QCOMPARE(preview.errorTable().rowCount(), 1);
            const QStringList error = {"3", "进货单价", "abc", "不是有效的数字"};
            for (int c = 0; c < error.size(); ++c)
                QCOMPARE(preview.errorTable().item(0, c)->text(), error[c]);
            QCOMPARE(preview.previewTable().rowCount(), 2);
            QCOMPARE(preview.previewTable().item(0, 0)->text(), QStringLiteral("06932169358293"));
            QCOMPARE(preview.previewTable().item(0, 7)->text(), QStringLiteral("15"));  // 进货金额
            QVERIFY(!preview.importButton().isEnabled());
            QVERIFY(!preview.sheetChoice().isVisible());  // a CSV file has one sheet

            QTest::keyClick(&preview.mappingChoice(4), Qt::Key_End);  // 说明 → 备注
            QCOMPARE(preview.previewTable().item(0, 12)->text(), QStringLiteral("甲"));
            QTest::mouseClick(&preview.skipFaultyRowsBox(), Qt::LeftButton);
            QVERIFY(preview.importButton().isEnabled());
            QTest::mouseClick(&preview.importButton(), Qt::LeftButton);
        });

        trigger("N18");

        QCOMPARE(scripted_->messageTexts(),
                 QStringList{QStringLiteral("成功导入 2 条进货信息，跳过了 1 条有错误的记录！")});
        QCOMPARE(scripted_->dialogFilters.value(0).contains("*.xlsx"), true);
        QCOMPARE(form_->goodsQuery().recordCount(), 2);  // the list read again
        const auto rows = storedRows(store::schema::kGoods);
        QCOMPARE(rows.at(1).at(column::kGoodsCode), std::string("B3"));
        QCOMPARE(rows.at(1).at(column::kRemark), std::string("丙"));
        const auto remembered = importing::rememberedMapping(
            autobackup::defaultSettingsFile(),
            {"商品编码", "商品名称", "单价", "②进货信息|数量", "说明"});
        QVERIFY(remembered);
        QCOMPARE(remembered->fieldOf(4), 11);

        scripted_->clear();
        scripted_->openFileNames.enqueue(path);
        scripted_->messageAnswers.enqueue(platform::Answer::Cancel);
        trigger("N20");
        QCOMPARE(scripted_->messages.size(), 1);
        QVERIFY2(scripted_->messages[0].text.startsWith("此文件已于 "),
                 qPrintable(scripted_->messages[0].text));
        QCOMPARE(storedRows(store::schema::kGoods).size(), std::size_t(2));
    }

    // What 数据导出 writes comes back by 数据导入 with the same purchase columns.
    void exportedPurchasesImportBackUnchanged() {
        testsupport::appendRows(store::schema::kGoods, {{{column::kGoodsCode, "06932169358293"},
                                                         {column::kGoodsName, "钢笔"},
                                                         {column::kModel, "M-1"},
                                                         {column::kGoodsSize, "12×3"},
                                                         {column::kUnit, "支"},
                                                         {column::kPurchasePrice, "0.1"},
                                                         {column::kPurchaseQuantity, "3"},
                                                         {column::kPurchaseAmount, "0.3"},
                                                         {column::kSupplier, "文具厂"},
                                                         {column::kContact, "王"},
                                                         {column::kPhone, "010-1234"},
                                                         {column::kAddress, "北京, \"东城\""},
                                                         {column::kRemark, "第一批"}},
                                                        {{column::kGoodsCode, "X"},
                                                         {column::kGoodsName, "空"},
                                                         {column::kPurchasePrice, "1234567.25"},
                                                         {column::kPurchaseQuantity, "0"},
                                                         {column::kPurchaseAmount, "0"}}});
        form_->goodsQuery().open();
        scripted_->saveFileNames.enqueue(config_.filePath("导出"));
        trigger("N7");
        scripted_->openFileNames.enqueue(config_.filePath("导出.xls"));
        whenShown<TImportForm>([](TImportForm& preview) {
            QCOMPARE(preview.errorTable().rowCount(), 0);
            QTest::mouseClick(&preview.importButton(), Qt::LeftButton);
        });
        trigger("N18");

        const auto rows = storedRows(store::schema::kGoods);
        QCOMPARE(rows.size(), std::size_t(4));
        for (std::size_t r = 0; r < 2; ++r)
            for (const auto& name :
                 store::schema::table(store::schema::kPurchaseExport).columnNames())
                QCOMPARE(rows[r + 2].at(name), rows[r].at(name));
    }

    // The list of imports takes one back; while one of its rows has a sale it is refused.
    void undoTakesAnImportBackUnlessARowWasSold() {
        scripted_->openFileNames.enqueue(
            file("a.csv", "商品编码,商品名称,进货单价,进货数量\nA1,笔,1,1\nA2,尺,2,2\n"));
        whenShown<TImportForm>([](TImportForm& preview) {
            QTest::mouseClick(&preview.importButton(), Qt::LeftButton);
        });
        trigger("N18");
        // A sale of A2 from before sales noted their goods row: known by its texts.
        testsupport::appendRows(store::schema::kSales, {{{column::kGoodsCode, "A2"},
                                                         {column::kGoodsName, "尺"},
                                                         {column::kModel, ""},
                                                         {column::kGoodsSize, ""},
                                                         {column::kUnit, ""}}});
        scripted_->clear();
        undoFirstImport();
        QCOMPARE(scripted_->messages.size(), 2);
        QCOMPARE(scripted_->messages[1].text,
                 QStringLiteral("以下导入的商品已有销售，不能撤销这次导入：\n第 3 行  A2  尺"));
        QCOMPARE(form_->goodsQuery().recordCount(), 2);

        testsupport::appendRows(store::schema::kGoods, {{{column::kGoodsCode, "OWN"}}});
        store::Connection other(form_->connection().connectionString());
        other.database().exec("DELETE FROM \"表3\"");
        scripted_->clear();
        undoFirstImport();
        QCOMPARE(scripted_->messageTexts(),
                 QStringList({QStringLiteral("确定要撤销这次导入，删除它导入的 2 条进货信息？"),
                              QStringLiteral("已撤销导入，删除了 2 条进货信息！")}));
        QCOMPARE(form_->goodsQuery().recordCount(), 1);  // the list read again
    }

    // A large file shows its reading with 取消; cancelled, nothing is shown or written.
    void cancellingTheReadingOfALargeFileEndsTheCommand() {
        std::string text = "商品编码,商品名称,进货单价,进货数量\n";
        for (int i = 0; i < 7000; ++i) text += "C" + std::to_string(i) + ",货,1,1\n";
        scripted_->openFileNames.enqueue(file("大.csv", text));
        bool shown = false;
        whenShown<QProgressDialog>([&](QProgressDialog& progress) {
            shown = true;
            QCOMPARE(progress.windowTitle(), QStringLiteral("数据导入"));
            progress.cancel();
        });
        bool previewed = false;
        const QPointer<QTimer> previewWatch =
            whenShown<TImportForm>([&](TImportForm&) { previewed = true; });
        trigger("N18");
        delete previewWatch.data();
        QVERIFY(shown);
        QVERIFY(!previewed);
        QVERIFY(scripted_->messages.isEmpty());
        QVERIFY(storedRows(store::schema::kGoods).empty());
    }

    // A workbook of several sheets: another one chosen is read, mapped afresh by its headers.
    void anotherSheetIsReadAndMappedByItsHeaders() {
        const importtest::Sheet sheets[] = {
            {{"说明"}, {"本工作簿的目录"}},
            {{"商品编码", "商品名称", "进货单价", "进货数量"}, {"A1", "笔", "1", "2"}}};
        std::vector<int> asked;
        const auto run = [&](const std::optional<importing::ColumnMapping>& mapping, int sheet) {
            asked.push_back(sheet);
            importing::ImportSettings settings;
            settings.mapping = mapping;
            auto summary = importing::dryRun(importtest::rowsSource(sheets[sheet]), settings);
            summary.facts.format = "xlsx";
            summary.facts.sheetNames = {"目录", "进货"};
            return summary;
        };
        TImportForm preview(form_.get(), "a.xlsx", run(std::nullopt, 0), run);
        preview.show();
        QVERIFY(preview.sheetChoice().isVisible());
        QVERIFY(!preview.importButton().isEnabled());

        QTest::keyClick(&preview.sheetChoice(), Qt::Key_End);

        QCOMPARE(asked, (std::vector<int>{0, 1}));
        QCOMPARE(preview.sheet(), 1);
        QCOMPARE(preview.mappingChoice(3).currentText(), QStringLiteral("进货数量"));
        QCOMPARE(preview.previewTable().item(0, 0)->text(), QStringLiteral("A1"));
        QVERIFY(preview.importButton().isEnabled());
    }

  private:
    QString file(const QString& name, const std::string& text) {
        const QString path = config_.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }

    void trigger(const char* action) {
        auto* item = form_->findChild<QAction*>(action);
        QVERIFY(item != nullptr);
        item->trigger();
    }

    void undoFirstImport() {
        whenShown<TImportListForm>([](TImportListForm& list) {
            QCOMPARE(list.importTable().rowCount(), 1);
            list.importTable().selectRow(0);
            QTest::mouseClick(&list.undoButton(), Qt::LeftButton);
        });
        trigger("N21");
    }

    // Acts on the dialog of that kind once it is shown modally, then closes it if still open. The
    // timer that watches for it goes once it acted.
    template <typename Dialog>
    QTimer* whenShown(std::function<void(Dialog&)> act) {
        auto* timer = new QTimer(this);
        timer->setInterval(0);
        connect(timer, &QTimer::timeout, this, [timer, act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            timer->stop();
            timer->deleteLater();
            act(*dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        timer->start();
        return timer;
    }

    QTemporaryDir config_;
    std::unique_ptr<testsupport::TestDatabase> database_;
    std::unique_ptr<platform::ScriptedPlatform> scripted_;
    std::unique_ptr<TMainForm> form_;
};

QTEST_MAIN(ImportCommandsTest)
#include "ImportCommandsTest.moc"
