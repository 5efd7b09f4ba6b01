// The export commands as the sales and sales detail windows call them, without the windows.
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <filesystem>

#include "export/Workbook.h"
#include "export/commands/ExportCommands.h"
#include "export/commands/ExportProgress.h"
#include "platform/Command.h"
#include "platform/FileFilters.h"
#include "platform/FormActivation.h"
#include "platform/SharedSaveName.h"
#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "tests/export/SampleGoods.h"
#include "tests/export/VectorTable.h"
#include "tests/support/FileModes.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/WorkbookReader.h"
#include "tests/support/XlsxReader.h"
#include "tests/support/widgets/ScriptedPlatform.h"

using testsupport::numberCell;
using testsupport::readWorkbook;
using testsupport::textCell;

namespace {

const QString kSuccess = QStringLiteral("成功导出全部数据!");

std::vector<testsupport::Row> threeSales() {
    return {{{"销售日期", "2026-12-01 10:00:00"},
             {"商品编码", "001"},
             {"客户姓名", "张三"},
             {"销售单价", "15"},
             {"销售数量", "2"},
             {"销售金额", "30"}},
            {{"销售日期", "2026-12-02 11:00:00"},
             {"商品编码", "002"},
             {"客户姓名", "李四"},
             {"销售单价", "0.1"}},
            {{"销售日期", "2026-12-03 12:00:00"}, {"商品编码", "003"}, {"客户姓名", "张三丰"}}};
}

}  // namespace

class ExportCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        database_ = std::make_unique<testsupport::TestDatabase>();
        platform_ = std::make_unique<platform::ScriptedPlatform>();
        connection_ =
            std::make_unique<store::Connection>(store::buildConnectionStringForCurrentDirectory());
        std::filesystem::create_directories(database_->directory() / "chosen");
    }

    void cleanup() {
        connection_.reset();
        platform_.reset();
        database_.reset();
    }

    void salesExportWritesTheRowsFoundFromTheFirst() {
        testsupport::appendRows(store::schema::kSales, threeSales());
        store::Query list(*connection_);
        list.select(store::schema::kSales, "客户姓名 like \"%张三%\"");
        list.open();
        list.moveTo(1);  // the current row does not matter
        platform_->saveFileNames.enqueue(chosen("sales"));
        SharedSaveName saveName;
        QWidget owner;

        exporting::exportList(&owner, list, saveName);

        QCOMPARE(platform_->messageTexts(), QStringList{kSuccess});
        QCOMPARE(list.recNo(), 2);  // left on the last row
        // No more open than the data.mdb it came from, whatever the umask lets through.
        QCOMPARE(testsupport::modeOf(database_->path()), mode_t(0600));
        QCOMPARE(testsupport::modeOf(file("sales.xls")), mode_t(0600));
        const auto book = readWorkbook(file("sales.xls"));
        QVERIFY2(book.opened, book.error.c_str());
        const auto& sheet = book.sheets.at(0);
        QCOMPARE(sheet.rows, 3u);
        QCOMPARE(sheet.columns, 14u);
        QCOMPARE(sheet.at(0, 0), textCell("ID"));
        QCOMPARE(sheet.at(0, 1), textCell("销售日期"));
        QCOMPARE(sheet.at(0, 13), textCell("备注"));
        QCOMPARE(sheet.at(1, 0), numberCell(1));
        QCOMPARE(sheet.at(1, 1), textCell("2026-12-01 10:00:00"));
        QCOMPARE(sheet.at(1, 2), textCell("001"));
        QCOMPARE(sheet.at(1, 9), numberCell(30));
        QCOMPARE(sheet.at(2, 0), numberCell(3));
        QCOMPARE(sheet.at(2, 10), textCell("张三丰"));
        QCOMPARE(sheet.at(2, 9), std::string());  // an empty number: no cell
    }

    void goodsExportStagesAndWrites_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("SpeedButton6") << false;
        QTest::newRow("N8") << true;
    }

    void goodsExportStagesAndWrites() {
        QFETCH(bool, fromMenu);
        testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
        testsupport::appendRows(store::schema::kSales, threeSales());
        store::Query goods(*connection_), sales(*connection_), staging(*connection_);
        sales.select(store::schema::kSales, "商品编码 like \"%002%\"");
        sales.open();
        platform_->saveFileNames.enqueue(chosen("goods.xls"));
        SharedSaveName saveName;
        QWidget owner;

        exporting::exportGoods(&owner, *connection_, goods, staging, fromMenu ? &sales : nullptr,
                               saveName);

        QCOMPARE(platform_->messageTexts(), QStringList{kSuccess});
        QCOMPARE(testsupport::storedRows(store::schema::kGoodsExport).size(), std::size_t(2));
        QCOMPARE(goods.recNo(), 2);
        QCOMPARE(sales.isOpen() && sales.recordCount() == 3, fromMenu);
        const auto book = readWorkbook(file("goods.xls.xls"));
        QVERIFY2(book.opened, book.error.c_str());
        const auto& sheet = book.sheets.at(0);
        QCOMPARE(sheet.rows, 3u);
        QCOMPARE(sheet.columns, 15u);
        QCOMPARE(sheet.at(0, 0), textCell("商品编码"));
        QCOMPARE(sheet.at(0, 14), textCell("备注"));
        QCOMPARE(sheet.at(1, 0), textCell("001"));
        QCOMPARE(sheet.at(1, 11), numberCell(2.5));
        QCOMPARE(sheet.at(1, 14), textCell("=1+1"));
        QCOMPARE(sheet.at(2, 5), numberCell(0.1));
        QCOMPARE(sheet.at(2, 6), std::string());
    }

    // Nothing a sheet cannot hold goes unsaid: the message counts what was left out or cut.
    void valuesACellCannotHoldAreCountedInTheSuccessMessage() {
        {
            store::Database db(database_->path(), store::kDatabasePassword);
            db.exec(std::string("insert into ") + store::schema::kGoods +
                    " (商品编码, 进货单价, 进货数量, 销售金额) values "
                    "('001', 1.7976931348623157e308, 9e999, 2.5)");
            db.exec(std::string("insert into ") + store::schema::kSales +
                    " (商品编码, 销售单价, 备注) values ('001', -9e999, '" +
                    std::string(40000, 'x') + "')");
        }
        store::Query goods(*connection_), staging(*connection_), sales(*connection_);
        SharedSaveName saveName;
        QWidget owner;
        platform_->saveFileNames.enqueue(chosen("goods"));
        exporting::exportGoods(&owner, *connection_, goods, staging, nullptr, saveName);
        sales.select(store::schema::kSales);
        sales.open();
        platform_->saveFileNames.enqueue(chosen("sales"));
        exporting::exportList(&owner, sales, saveName);

        QCOMPARE(platform_->messageTexts(),
                 QStringList({kSuccess + QStringLiteral("\n2 个数值超出 Excel 范围，已留空"),
                              kSuccess + QStringLiteral("\n1 个数值超出 Excel 范围，已留空") +
                                  QStringLiteral("\n1 个文本超过单元格可容纳的 32767 "
                                                 "个字符，已截断")}));
        const auto book = readWorkbook(file("goods.xls"));
        QVERIFY2(book.opened, book.error.c_str());
        QCOMPARE(book.sheets.at(0).at(1, 5), std::string());
        QCOMPARE(book.sheets.at(0).at(1, 6), std::string());
        QCOMPARE(book.sheets.at(0).at(1, 10), numberCell(2.5));
    }

    // The dialog offers both formats and starts on the .xls; choosing the .xlsx writes one.
    void theDialogsXlsxFilterWritesAnXlsxWorkbook_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("no extension") << "goods"
                                      << "goods.xlsx";
        QTest::newRow("with .xlsx") << "goods.xlsx"
                                    << "goods.xlsx";
        QTest::newRow("with .xls") << "goods.xls"
                                   << "goods.xls.xlsx";
    }

    void theDialogsXlsxFilterWritesAnXlsxWorkbook() {
        QFETCH(QString, name);
        QFETCH(QString, written);
        testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
        store::Query goods(*connection_), staging(*connection_);
        SharedSaveName saveName;
        QWidget owner;
        platform_->saveFileNames.enqueue(chosen(name.toUtf8().constData()));
        platform_->saveFilters.enqueue(platform::xlsxFilter());

        exporting::exportGoods(&owner, *connection_, goods, staging, nullptr, saveName);

        QCOMPARE(platform_->messageTexts(), QStringList{kSuccess});
        QCOMPARE(platform_->dialogFilters,
                 QStringList{QStringLiteral(
                     "Excel 97-2003 工作簿 (*.xls);;Excel 工作簿 (*.xlsx);;所有文件 (*)")});
        const std::string file = this->file(written.toUtf8().constData());
        QCOMPARE(std::filesystem::directory_iterator(database_->directory() / "chosen")->path(),
                 std::filesystem::path(file));  // that file only
        QCOMPARE(testsupport::modeOf(file), mode_t(0600));
        const auto xlsx = testsupport::readXlsxWorkbook(file);
        QVERIFY2(xlsx.book.opened, xlsx.book.error.c_str());
        const auto& sheet = xlsx.book.sheets.at(0);
        QCOMPARE(sheet.rows, 3u);
        QCOMPARE(sheet.columns, 15u);
        QCOMPARE(sheet.at(0, 0), textCell("商品编码"));
        QCOMPARE(sheet.at(1, 0), textCell("001"));
        QCOMPARE(sheet.at(1, 11), numberCell(2.5));
        QCOMPARE(sheet.at(1, 14), textCell("=1+1"));
        QCOMPARE(sheet.at(2, 5), numberCell(0.1));
        QCOMPARE(sheet.at(2, 6), std::string());
    }

    void cancelledDialogWritesNothingButKeepsTheStagingCopy() {
        testsupport::appendRows(store::schema::kGoods, exporttest::twoGoods());
        store::Query goods(*connection_), staging(*connection_), list(*connection_);
        SharedSaveName saveName;
        QWidget owner;
        exporting::exportGoods(&owner, *connection_, goods, staging, nullptr, saveName);
        list.select(store::schema::kSales);
        list.open();
        exporting::exportList(&owner, list, saveName);

        QCOMPARE(platform_->dialogs.size(), 2);
        QVERIFY(platform_->messages.isEmpty());
        QCOMPARE(testsupport::storedRows(store::schema::kGoodsExport).size(), std::size_t(2));
        QVERIFY(std::filesystem::is_empty(database_->directory() / "chosen"));
    }

    void theSaveDialogStartsWithTheLastName() {
        store::Query list(*connection_);
        list.select(store::schema::kSales);
        list.open();
        SharedSaveName saveName;
        QWidget owner;
        platform_->saveFileNames.enqueue(chosen("first"));
        exporting::exportList(&owner, list, saveName);
        exporting::exportList(&owner, list, saveName);  // cancelled
        QCOMPARE(platform_->saveInitialNames, QStringList({QString(), chosen("first")}));
        const auto book = readWorkbook(file("first.xls"));
        QVERIFY2(book.opened, book.error.c_str());
        QCOMPARE(book.sheets.at(0).rows, 1u);  // an empty list: the header only
    }

    void aFileThatCannotBeWrittenIsReportedAndNoSuccessShown() {
        store::Query list(*connection_);
        list.select(store::schema::kSales);
        list.open();
        SharedSaveName saveName;
        QWidget owner;
        platform_->saveFileNames.enqueue(chosen("missing folder/x"));
        platform::runCommand(&owner, [&] { exporting::exportList(&owner, list, saveName); });
        QCOMPARE(platform_->messages.size(), 1);
        QCOMPARE(platform_->messages[0].kind, platform::MessageKind::Error);
        QVERIFY(platform_->messages[0].text.contains(QStringLiteral("missing folder")));
    }

    void cancelInTheProgressWindowStopsTheWriting() {
        QWidget owner;
        owner.show();
        exporting::ExportProgress progress(&owner);
        progress.dialog().show();
        QVERIFY(progress(0, 10));
        auto* cancel = progress.dialog().findChild<QPushButton*>();
        QVERIFY(cancel != nullptr);
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        // Its closing must not make the owner re-read (and move) its list.
        QVERIFY(platform::isSystemDialog(&progress.dialog()));
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!progress(1, 10));

        VectorTable table;
        table.names = {"a"};
        table.rows = {{1.0}};
        const std::string target = file("cancelled.xls");
        QCOMPARE(workbook::writeWorkbook(
                     target, table, [&](std::int64_t d, std::int64_t t) { return progress(d, t); }),
                 workbook::Outcome::Cancelled);
        QVERIFY(std::filesystem::is_empty(database_->directory() / "chosen"));
    }

  private:
    QString chosen(const char* name) {
        return QString::fromStdString((database_->directory() / "chosen" / name).string());
    }
    std::string file(const char* name) {
        return (database_->directory() / "chosen" / name).string();
    }

    std::unique_ptr<testsupport::TestDatabase> database_;
    std::unique_ptr<platform::ScriptedPlatform> platform_;
    std::unique_ptr<store::Connection> connection_;
};

QTEST_MAIN(ExportCommandsTest)
#include "ExportCommandsTest.moc"
