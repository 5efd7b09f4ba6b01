// What the printed tables look like on a produced page: the rules of the real layouts survive the
// texts beside them, and a field's text never leaves its cell.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "FakeCursor.h"
#include "reports/engine/PagePainter.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportPages.h"
#include "reports/engine/Units.h"
#include "reports/layouts/LayoutBuilder.h"
#include "reports/layouts/ReportLayout.h"

using namespace reports;
namespace L = reports::layouts;

namespace {

const QStringList kPurchaseFields = {"商品编码", "商品名称", "商品型号", "商品规格",
                                     "单位",     "进货单价", "进货数量", "进货金额",
                                     "联系人",   "联系电话", "详细地址", "备注"};

void producePurchases(ReportPages& pages, const QStringList& row) {
    FakeCursor rows(kPurchaseFields, {row});
    FakeCursor company({"公司名称", "公司地址", "联系人", "联系电话", "网址"},
                       {{"千帆商行", "杭州市文三路1号", "王五", "0571-88886666", "www.example"}});
    company.first();
    TReport report;
    L::buildReport(report, L::purchaseReport(), &rows, &company);
    report.setCaption(QStringLiteral("RepLabel15"), QStringLiteral("5"));
    ASSERT_TRUE(report.produce(pages));
}

QImage render(const ReportPages& pages, const DeviceMapping& m) {
    QImage image(m.width(2970), m.height(2100), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(pages.page(1), pages.fonts(), painter, m);
    return image;
}

bool dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

}  // namespace

// The title band starts at 150 tenths, the detail row at 486 and the summary at 547.
TEST(PrintedRules, TextsBesideARuleLeaveItWhole) {
    ReportPages pages;
    producePurchases(
        pages, {"A1", "茶杯", "X1", "大", "个", "2.5", "2", "5", "李四", "139", "北京", "无"});
    const DeviceMapping m{96, 96};
    const QImage image = render(pages, m);
    const auto x = [&](double design) { return m.x(130 + designToTenths(design)); };
    const auto y = [&](double bandTop, double design) {
        return m.y(bandTop + designToTenths(design));
    };
    struct Rule {
        const char* what;
        int row;
        double from, to;  // design units along the rule
    };
    const Rule rules[] = {
        {"the table's top border under the address and telephone", y(150, 80), 2, 1020},
        {"the rule under the group captions", y(150, 105) - 1, 2, 690},
        {"the border under the summary's 合计", y(547, 25) - 1, 2, 1020},
    };
    for (const Rule& rule : rules)
        for (double d = rule.from; d <= rule.to; d += 3)
            EXPECT_TRUE(dark(image, x(d), rule.row)) << rule.what << " at " << d;
}

TEST(PrintedRules, ControlCharactersInAFieldStayInItsCellAsSpaces) {
    ReportPages pages;
    producePurchases(pages, {"A1", "茶杯", "X1", "大", "个", "2.5", "2", "5", "李四", "139", "北京",
                             "甲\t乙\r\n丙"});
    const PageImage& page = pages.page(1);
    bool found = false;
    for (const PageOp& op : page.ops()) {
        if (op.kind != PageOp::Kind::Text) continue;
        const QString text = page.textOf(op).toString();
        for (QChar c : text) EXPECT_GE(c.unicode(), 0x20) << text.toStdString();
        EXPECT_NE(text, QStringLiteral("丙")) << "a second line below the cell";
        found = found || text == QStringLiteral("甲 乙  丙");
    }
    EXPECT_TRUE(found);
}
