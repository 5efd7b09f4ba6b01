#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QRectF>
#include <optional>
#include <stdexcept>
#include <vector>

#include "FakeCursor.h"
#include "SampleReport.h"
#include "reports/engine/PageImage.h"
#include "reports/engine/ReportPages.h"
#include "reports/engine/Units.h"

using namespace reports;

namespace {

// Texts on a page that belong to the detail rows ("R1", "R2", ...).
int rowsOn(const PageImage& page) {
    int rows = 0;
    for (const QString& text : page.texts()) {
        if (text.size() > 1 && text[0] == QLatin1Char('R') && text[1].isDigit()) ++rows;
    }
    return rows;
}

int pageOf(const ReportPages& pages, const QString& text) {
    for (int n = 1; n <= pages.pageCount(); ++n) {
        if (pages.page(n).containsText(text)) return n;
    }
    return 0;
}

// Pages hand out their drawing commands as a list made for the asking: copies, not places.
std::optional<PageOp> textOp(const PageImage& page, const QString& text) {
    for (const PageOp& op : page.ops()) {
        if (op.kind == PageOp::Kind::Text && page.textOf(op) == text) return op;
    }
    return std::nullopt;
}

// The white box recorded just before the text.
std::optional<PageOp> boxBefore(const PageImage& page, const QString& text) {
    std::optional<PageOp> box;
    for (const PageOp& op : page.ops()) {
        if (op.kind == PageOp::Kind::Text && page.textOf(op) == text) return box;
        if (op.kind == PageOp::Kind::Fill) box = op;
    }
    return std::nullopt;
}

struct Produced {
    FakeCursor rows;
    TReport report;
    ReportPages pages;

    explicit Produced(int count, bool run = true) : rows(sampleFields(), numberedRows(count)) {
        buildSampleReport(report, &rows);
        if (run) {
            EXPECT_TRUE(report.produce(pages));
        }
    }
};

}  // namespace

TEST(ReportUnits, DesignUnitsBecomeTenthsOnce) {
    struct Case {
        double units;
        double tenths;
    };
    const Case cases[] = {{127, 336.02}, {23, 60.85}, {81, 214.31}, {1025, 2711.98}, {25, 66.15}};
    for (const Case& c : cases) EXPECT_NEAR(designToTenths(c.units), c.tenths, 0.005) << c.units;

    TReport report;
    TReportBand& band = report.addBand(TBandType::bandDetail, 23, 1025);
    EXPECT_NEAR(band.Size.Height, 60.85, 0.005);
    EXPECT_NEAR(band.Size.Width, 2711.98, 0.005);
    const TReportShape& cell = band.addShape(72, 0, 97, 25);
    EXPECT_NEAR(cell.Size.Height, 66.15, 0.005);
    EXPECT_NEAR(cell.Size.Left, 190.5, 0.005);
    EXPECT_NEAR(cell.Size.Top, 0.0, 0.005);
    EXPECT_NEAR(cell.Size.Width, 256.65, 0.005);
}

TEST(ReportUnits, DeviceMappingTakesOffTheUnprintableMargins) {
    struct Case {
        DeviceMapping mapping;
        double tenths;
        int x, y, width;
    };
    const Case cases[] = {
        {{96, 96, 0, 0}, 130, 49, 49, 49},
        {{600, 600, 50, 40}, 130, 189, 213, 307},
        {{300, 150, 0, 0}, 2970, 3508, 1754, 3508},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.mapping.x(c.tenths), c.x);
        EXPECT_EQ(c.mapping.y(c.tenths), c.y);
        EXPECT_EQ(c.mapping.width(c.tenths), c.width);
    }
}

TEST(ReportLayout, PagesAndSummaryPlacement) {
    struct Case {
        int rows;
        int pages;
        int rowsOnPage1;
        int summaryPage;
    };
    const Case cases[] = {
        {0, 1, 0, 1},  // the title, one empty row and the summary
        {1, 1, 1, 1},   {20, 1, 20, 1},
        {21, 2, 21, 2},                  // remaining 183 tenths: the summary alone on page 2
        {24, 2, 24, 2},                  // page 1 is full at 1950 tenths
        {25, 2, 24, 2}, {53, 3, 24, 3},  // page 2 holds 29 rows
        {49, 2, 24, 2},                  // 25 rows on page 2 leave 275 tenths: the summary stays
        {50, 3, 24, 3},                  // 26 leave 214, less than the unrounded 214.31
        {54, 3, 24, 3}, {55, 3, 24, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        Produced produced(c.rows);
        const ReportPages& pages = produced.pages;
        ASSERT_EQ(pages.pageCount(), c.pages);
        EXPECT_EQ(rowsOn(pages.page(1)), c.rowsOnPage1);
        EXPECT_EQ(pageOf(pages, QStringLiteral("合计")), c.summaryPage);
        EXPECT_EQ(produced.report.pageCount(), c.pages);
        // The headings are part of the title band: page 1 only.
        EXPECT_EQ(pageOf(pages, QStringLiteral("商品编码")), 1);
        for (int n = 2; n <= pages.pageCount(); ++n) {
            EXPECT_FALSE(pages.page(n).containsText(QStringLiteral("商品编码")));
        }
        int total = 0;
        for (int n = 1; n <= pages.pageCount(); ++n) total += rowsOn(pages.page(n));
        EXPECT_EQ(total, c.rows);
    }
}

std::vector<QRectF> shapesOn(const PageImage& page) {
    std::vector<QRectF> shapes;
    for (const PageOp& op : page.ops())
        if (op.kind == PageOp::Kind::Shape) shapes.emplace_back(op.x, op.y, op.w, op.h);
    return shapes;
}

TEST(ReportLayout, AnEmptyReportPrintsOneEmptyRow) {
    // The empty row stands where a single row would: its cells drawn, nothing in them, and the
    // summary below it.
    Produced empty(0);
    Produced one(1);
    ASSERT_EQ(empty.pages.pageCount(), 1);
    const PageImage& page = empty.pages.page(1);
    EXPECT_EQ(rowsOn(page), 0);
    const std::vector<QRectF> shapes = shapesOn(page);
    EXPECT_EQ(shapes.size(), 7u);  // three heading cells, three row cells, one summary cell
    EXPECT_EQ(shapes, shapesOn(one.pages.page(1)));
    const auto summary = textOp(page, QStringLiteral("合计"));
    const auto summaryAfterARow = textOp(one.pages.page(1), QStringLiteral("合计"));
    ASSERT_TRUE(summary);
    ASSERT_TRUE(summaryAfterARow);
    EXPECT_FLOAT_EQ(summary->y, summaryAfterARow->y);
}

TEST(ReportLayout, LaterPagesBeginAtTheTopMargin) {
    Produced produced(60);
    const PageImage& page2 = produced.pages.page(2);
    EXPECT_EQ(rowsOn(page2), 29);
    const auto first = textOp(page2, QStringLiteral("R25"));
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->y, 150 + designToTenths(4), 0.01);
    EXPECT_NEAR(first->x, 130 + designToTenths(5), 0.01);
    // Whole tenths per row: 61 for a 60.85 band.
    const auto second = textOp(page2, QStringLiteral("R26"));
    ASSERT_TRUE(second);
    EXPECT_NEAR(second->y - first->y, 61.0, 0.001);
}

TEST(ReportLayout, NothingWithoutRowsWhenPrintIfEmptyIsOff) {
    Produced produced(0, false);
    produced.report.PrintIfEmpty = false;
    EXPECT_TRUE(produced.report.produce(produced.pages));
    EXPECT_EQ(produced.pages.pageCount(), 0);
    EXPECT_TRUE(produced.pages.isComplete());
}

TEST(ReportText, LongerThanItsCellRunsOnToTheRight) {
    const QString longName = QStringLiteral("一个非常非常长的商品名称超出单元格");
    FakeCursor rows(sampleFields(), {{QStringLiteral("R1"), longName, QStringLiteral("3")}});
    TReport report;
    buildSampleReport(report, &rows);
    ReportPages pages;
    ASSERT_TRUE(report.produce(pages));

    const PageImage& page = pages.page(1);
    const auto text = textOp(page, longName);
    ASSERT_TRUE(text) << "the text is printed whole";
    const auto box = boxBefore(page, longName);
    ASSERT_TRUE(box);
    const double cellRight = 130 + designToTenths(72 + 97);
    EXPECT_GT(box->x + box->w, cellRight) << "the white box reaches into the next cell";
    EXPECT_NEAR(box->x, text->x, 0.001);
    EXPECT_EQ(box->value, 0xFFFFFFu);
    // At least the designed height, and at least one line.
    EXPECT_GE(box->h, designToTenths(17) - 0.001);
}

TEST(ReportText, MissingFieldPrintsEmptyAndTheReportGoesOn) {
    FakeCursor rows({QStringLiteral("商品编码")}, numberedRows(3));
    TReport report;
    buildSampleReport(report, &rows);  // 商品名称 and 进货金额 are missing
    ReportPages pages;
    ASSERT_TRUE(report.produce(pages));
    ASSERT_EQ(pages.pageCount(), 1);
    const std::vector<QString> expected = {
        QStringLiteral("进货明细表"), QStringLiteral("商品编码"), QStringLiteral("商品名称"),
        QStringLiteral("金额"),       QStringLiteral("R1"),       QStringLiteral("R2"),
        QStringLiteral("R3"),         QStringLiteral("合计"),     QStringLiteral("RepLabel15"),
        QStringLiteral("制表人：")};
    EXPECT_EQ(pages.page(1).texts(), expected);
}

TEST(ReportText, LinesBreakAtCarriageReturnsAndOnlyFittingLinesPrint) {
    struct Case {
        double height;  // design units
        int lines;
    };
    const Case cases[] = {{17, 1}, {80, 2}};
    for (const Case& c : cases) {
        TReport report;
        TReportBand& title = report.addBand(TBandType::bandTitle, 127, 1025);
        title.addLabel(10, 10, c.height, QStringLiteral("第一行\r\n第二行\r\n"), {});
        ReportPages pages;
        ASSERT_TRUE(report.produce(pages));
        const auto texts = pages.page(1).texts();
        ASSERT_EQ(int(texts.size()), c.lines) << c.height;
        EXPECT_EQ(texts[0], QStringLiteral("第一行"));
        if (c.lines == 2) {
            EXPECT_EQ(texts[1], QStringLiteral("第二行"));
            const auto& ops = pages.page(1).ops();
            const auto a = textOp(pages.page(1), texts[0]);
            const auto b = textOp(pages.page(1), texts[1]);
            EXPECT_GT(b->y, a->y);
            EXPECT_FALSE(ops.empty());
        }
    }
}

TEST(ReportCaptions, SetAndGetByName) {
    TReport report;
    FakeCursor rows(sampleFields(), {});
    buildSampleReport(report, &rows);
    EXPECT_EQ(report.caption(QStringLiteral("RepLabel15")), QStringLiteral("RepLabel15"));
    report.setCaption(QStringLiteral("RepLabel15"), QStringLiteral("1234.5"));
    EXPECT_EQ(report.caption(QStringLiteral("RepLabel15")), QStringLiteral("1234.5"));
    EXPECT_THROW(report.setCaption(QStringLiteral("RepLabel99"), QStringLiteral("x")),
                 std::invalid_argument);

    ReportPages pages;
    ASSERT_TRUE(report.produce(pages));
    EXPECT_TRUE(pages.page(1).containsText(QStringLiteral("1234.5")));
}

TEST(ReportProduction, CancelStopsAfterTheCurrentRow) {
    Produced produced(100, false);
    // Row 30 becomes current after row 29 was printed; the cancel takes effect before row 30.
    produced.rows.onRow = [&](int row) {
        if (row == 30) produced.report.cancel();
    };
    EXPECT_FALSE(produced.report.produce(produced.pages));
    EXPECT_EQ(produced.report.rowsPrinted(), 29);
    EXPECT_FALSE(produced.report.isProducing());
    EXPECT_FALSE(produced.pages.isComplete());
    EXPECT_EQ(pageOf(produced.pages, QStringLiteral("合计")), 0);

    // The next production starts afresh.
    produced.rows.onRow = nullptr;
    EXPECT_TRUE(produced.report.produce(produced.pages));
    EXPECT_EQ(produced.report.rowsPrinted(), 100);
}

TEST(ReportProduction, ARequestWhileProducingIsIgnored) {
    Produced produced(10, false);
    bool nested = true;
    produced.rows.onRow = [&](int row) {
        if (row != 3) return;
        ReportPages other;
        nested = produced.report.produce(other);
    };
    EXPECT_TRUE(produced.report.produce(produced.pages));
    EXPECT_FALSE(nested);
    EXPECT_EQ(produced.pages.pageCount(), 1);
}

TEST(ReportProduction, ADataErrorEndsProductionAndIsPassedOn) {
    Produced produced(40, false);
    produced.rows.onRow = [](int row) {
        if (row == 5) throw std::runtime_error("Disk or network error.");
    };
    EXPECT_THROW(produced.report.produce(produced.pages), std::runtime_error);
    EXPECT_FALSE(produced.report.isProducing());
    produced.rows.onRow = nullptr;
    EXPECT_TRUE(produced.report.produce(produced.pages));
}

TEST(ReportProduction, ProgressGrowsToOneHundredAndEventsRunPerRow) {
    struct Progress : ReportPages {
        std::vector<int> values;
        void progress(int percent) override { values.push_back(percent); }
    } pages;
    Produced produced(7, false);
    int pumped = 0;
    produced.report.processEvents = [&] { ++pumped; };
    ASSERT_TRUE(produced.report.produce(pages));
    EXPECT_EQ(pumped, 7);
    EXPECT_EQ(pages.values, (std::vector<int>{14, 28, 42, 57, 71, 85, 100}));
    EXPECT_TRUE(produced.rows.eof()) << "the data set is left after its last row";
}

TEST(ReportProduction, WithoutACallbackEventsWaitUntilProductionHasEnded) {
    bool ran = false;
    QObject receiver;
    QMetaObject::invokeMethod(
        &receiver, [&] { ran = true; }, Qt::QueuedConnection);
    Produced produced(30);
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran) << "the event was left waiting, not lost";
}

// Detail rows of one shape are kept as their place and their texts, and still draw whole.
TEST(ReportPagesMemory, RepeatedRowsKeepOnlyTheirTexts) {
    std::vector<QStringList> data = numberedRows(29);
    data[10][1] = QStringLiteral("上行\r下行");  // a field keeps to one line
    FakeCursor rows(sampleFields(), data);
    TReport report;
    buildSampleReport(report, &rows);
    ReportPages pages;
    ASSERT_TRUE(report.produce(pages));
    ASSERT_EQ(pages.pageCount(), 2);
    const PageImage& page = pages.page(1);
    for (int row : {1, 11, 12, 24}) {
        const auto code = textOp(page, QStringLiteral("R%1").arg(row));
        ASSERT_TRUE(code) << row;
        EXPECT_NEAR(code->y, 486 + (row - 1) * 61 + designToTenths(4), 0.01) << row;
        const auto box = boxBefore(page, QStringLiteral("R%1").arg(row));
        ASSERT_TRUE(box);
        EXPECT_GT(box->w, 0);
        EXPECT_NEAR(box->y, code->y, 0.01);
    }
    EXPECT_TRUE(textOp(page, QStringLiteral("上行 下行")));
    int shapes = 0;
    for (const PageOp& op : page.ops()) shapes += op.kind == PageOp::Kind::Shape ? 1 : 0;
    EXPECT_EQ(shapes, 3 + 24 * 3) << "title cells and three cells per row";
    // 24 rows of three short texts take far less than their drawing commands written out.
    EXPECT_LT(page.memoryUsage(), page.ops().size() * sizeof(PageOp) / 2);
}

// A band printed in ever new shapes keeps a few patterns, then is kept as it was drawn.
TEST(ReportPagesMemory, BandsOfManyShapesAreKeptWhole) {
    PageImage page(std::make_shared<BandPatterns>());
    const int band = 0;
    for (int i = 0; i < 7; ++i) {
        const double top = 150 + i * 61;
        page.beginBand(&band, 130, top);
        page.shape(QRectF(130, top, 10 + i, 60));
        page.boxedText(QRectF(140, top + 5, 20 + i, 40), 0xFFFFFF, 140, top + 5, 0,
                       QString::number(i));
        page.endBand();
    }
    const std::vector<PageOp> ops = page.ops();
    ASSERT_EQ(ops.size(), 21u);
    for (int i = 0; i < 7; ++i) {
        const PageOp& shape = ops[std::size_t(3 * i)];
        const PageOp& box = ops[std::size_t(3 * i + 1)];
        const PageOp& text = ops[std::size_t(3 * i + 2)];
        EXPECT_EQ(shape.kind, PageOp::Kind::Shape);
        EXPECT_NEAR(shape.y, 150 + i * 61, 0.01);
        EXPECT_NEAR(shape.w, 10 + i, 0.01);
        EXPECT_TRUE(box.box);
        EXPECT_NEAR(box.w, 20 + i, 0.01);
        EXPECT_EQ(page.textOf(text), QString::number(i));
    }
}
