#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include "FakeCursor.h"
#include "SampleReport.h"
#include "reports/engine/PagePainter.h"
#include "reports/engine/PagedOutput.h"
#include "reports/engine/ReportPages.h"
#include "reports/engine/Units.h"

using namespace reports;

namespace {

// Page 1 drawn at 96 dots per inch, where a design unit is one pixel.
QImage render(const ReportPages& pages, int number = 1) {
    const DeviceMapping mapping{96, 96};
    QImage image(mapping.width(2970), mapping.height(2100), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(pages.page(number), pages.fonts(), painter, mapping);
    return image;
}

bool black(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 60; }

QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000)) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

TEST(ReportDrawing, CellsShareTheirBorderLinesAndTextBoxesCoverThem) {
    // Blanks in the middle of the long name let the white box show over the next cell's border.
    const QString longName =
        QStringLiteral("长") + QString(40, QLatin1Char(' ')) + QStringLiteral("名");
    FakeCursor rows(sampleFields(),
                    {{QStringLiteral("R1"), QStringLiteral("短"), QStringLiteral("1")},
                     {QStringLiteral("R2"), longName, QString()}});
    TReport report;
    buildSampleReport(report, &rows);
    ReportPages pages;
    ASSERT_TRUE(report.produce(pages));
    const QImage image = render(pages);

    const DeviceMapping m{96, 96};
    const int left = m.x(130);                             // 49
    const int row1 = m.y(150 + 336);                       // the first detail row
    const int row2 = m.y(150 + 336 + 61);                  // one row lower
    const int shared = m.x(130 + designToTenths(72));      // cells 1 and 2 meet
    const int between23 = m.x(130 + designToTenths(168));  // cells 2 and 3 meet
    ASSERT_EQ(shared, left + 72);

    // One shared vertical line between neighbouring cells, white on either side.
    EXPECT_TRUE(black(image, shared, row1 + 2));
    EXPECT_FALSE(black(image, shared - 1, row1 + 2));
    EXPECT_FALSE(black(image, shared + 1, row1 + 2));
    EXPECT_TRUE(black(image, left, row1 + 2));
    EXPECT_TRUE(black(image, between23, row1 + 2));

    // Rows overlap by two units: the later row's cell covers the earlier one's bottom edge,
    // so a single line separates them.
    EXPECT_TRUE(black(image, left + 30, row2));
    EXPECT_FALSE(black(image, left + 30, row2 + 1));
    EXPECT_FALSE(black(image, left + 30, row2 - 1));

    // The long name of row 2 runs over the border of cell 3 on its white box: the border line
    // is gone where the box lies, but still there below it.
    const int boxTop = row2 + 4;
    for (int y = boxTop + 1; y < boxTop + 16; ++y) {
        EXPECT_FALSE(black(image, between23, y)) << "the white box covers the border " << y;
        EXPECT_TRUE(black(image, shared, y)) << "the text begins after the shared border " << y;
    }
    EXPECT_TRUE(black(image, between23, row2 + 2));
    int ink = 0;
    for (int x = between23 + 2; x < between23 + 200; ++x) {
        for (int y = boxTop; y < boxTop + 17; ++y) ink += black(image, x, y) ? 1 : 0;
    }
    EXPECT_GT(ink, 10) << "the text continues to the right of the cell";
}

TEST(ReportDrawing, NeighbouringCellsShareOneLineAtAnyZoom) {
    // At 84 percent the right edge of a 73-unit cell, placed as its left edge plus a rounded
    // width, would end one pixel short of the cell beside it: a double line.
    const DeviceMapping m{96 * 0.84, 96 * 0.84};
    const double left = 130;
    const double meet = left + designToTenths(72);
    PageImage page;
    page.shape(QRectF(meet, 150, designToTenths(97), designToTenths(25)));
    page.shape(QRectF(left, 150, designToTenths(73), designToTenths(25)));
    QImage image(m.width(2970), m.height(2100), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(page, {}, painter, m);
    painter.end();

    const int y = m.y(150) + 5;
    const int shared = m.x(meet);
    EXPECT_TRUE(black(image, shared, y));
    for (int x = shared + 1; x < shared + 6; ++x) EXPECT_FALSE(black(image, x, y)) << x;
    for (int x = m.x(left) + 1; x < shared; ++x) EXPECT_FALSE(black(image, x, y)) << x;
}

TEST(ReportDrawing, PdfCarriesTheTextsOfEveryPage) {
    FakeCursor rows(sampleFields(), numberedRows(30));
    TReport report;
    buildSampleReport(report, &rows);
    report.setCaption(QStringLiteral("RepLabel15"), QStringLiteral("581.25"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("报表.pdf"));
    int lastProgress = -1;
    ASSERT_TRUE(writePdf(report, path, [&](int percent) { lastProgress = percent; }));
    EXPECT_EQ(lastProgress, 100);

    const QString text = pdfText(path);
    // Page 1 holds rows 1 to 24, page 2 rows 25 to 30 and the summary.
    for (const char* expected : {"进货明细表", "商品编码", "商品1", "1.25", "商品24", "商品25",
                                 "31.25", "37.5", "合计", "581.25"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }
    EXPECT_EQ(text.count(QLatin1Char('\f')), 2) << "two pages";
}

TEST(ReportDrawing, AnUnfinishedPdfLeavesNothingBehind) {
    FakeCursor rows(sampleFields(), numberedRows(60));
    TReport report;
    buildSampleReport(report, &rows);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.pdf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier");
    }
    rows.onRow = [&](int row) {
        if (row == 40) report.cancel();
    };
    EXPECT_FALSE(writePdf(report, path));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("earlier"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pdf")});

    EXPECT_THROW(writePdf(report, dir.filePath(QStringLiteral("missing/x.pdf"))),
                 std::runtime_error);
}
