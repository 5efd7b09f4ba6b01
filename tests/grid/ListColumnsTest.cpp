// The three list windows' columns, whole: every title, width, alignment, display format and
// footer, as the lists have them.
#include <QTest>

#include "grid/ListColumns.h"
#include "tests/grid/GridTests.h"

namespace gridtest {

namespace {

QString alignment(Qt::Alignment a) {
    if (a == Qt::AlignLeft) return QStringLiteral("left");
    if (a == Qt::AlignHCenter) return QStringLiteral("centre");
    return QStringLiteral("other");
}

QString footer(const grid::GridColumn& c) {
    QString text;
    if (c.footer == grid::FooterKind::StaticText) text = c.footerText;
    if (c.footer == grid::FooterKind::Sum) text = QStringLiteral("sum");
    if (c.footer == grid::FooterKind::None) return text;
    if (!c.footerFormat.isEmpty()) text += QLatin1Char(' ') + c.footerFormat;
    if (c.footerBold) text += *c.footerBold ? QStringLiteral(" bold") : QStringLiteral(" regular");
    if (c.footerAlignment != Qt::AlignHCenter) text += QStringLiteral(" off-centre");
    return text;
}

// "field; caption; width; alignment; display format; footer"
QStringList described(const std::vector<grid::GridColumn>& columns) {
    QStringList lines;
    for (const auto& c : columns)
        lines << QStringLiteral("%1; %2; %3; %4; %5; %6")
                     .arg(c.field, c.caption, QString::number(c.width), alignment(c.alignment),
                          c.displayFormat, footer(c));
    return lines;
}

}  // namespace

void ListColumnsTest::columns_data() {
    QTest::addColumn<QStringList>("actual");
    QTest::addColumn<QStringList>("expected");
    const QStringList goodsTexts = {
        "商品名称; ①商品信息|商品名称; 65; left; ; ",
        "商品型号; ①商品信息|商品型号; 65; left; ; ",
        "商品规格; ①商品信息|商品规格; 65; left; ; ",
        "单位; ①商品信息|单位; 45; centre; ; ",
    };
    QTest::newRow("purchases")
        << described(grid::purchaseListColumns())
        << (QStringList{"商品编码; ①商品信息|商品编码; 65; centre; ; 合计 bold"} + goodsTexts +
            QStringList{
                "进货单价; ②进货信息|单价; 50; centre; #0.##; ",
                "进货数量; ②进货信息|数量; 50; centre; #0.##; ",
                "进货金额; ②进货信息|金额; 65; centre; #0.##; sum #0.##",
                "供货单位; ③供货商信息|供货单位; 65; left; ; ",
                "联系人; ③供货商信息|联系人; 65; centre; ; ",
                "联系电话; ③供货商信息|联系电话; 80; left; ; ",
                "详细地址; ③供货商信息|详细地址; 120; left; ; ",
                "备注; 备注; 90; left; ; ",
            });
    QTest::newRow("goods") << described(grid::goodsListColumns())
                           << (QStringList{"商品编码; ①商品信息|商品编码; 65; centre; ; 合计"} +
                               goodsTexts +
                               QStringList{
                                   "进货单价; ②进货信息|单价; 50; centre; #0.##; ",
                                   "进货数量; ②进货信息|数量; 50; centre; #0.##; ",
                                   "进货金额; ②进货信息|金额; 65; centre; #0.##; sum #0.## regular",
                                   "销售单价; ③销售信息|单价; 50; centre; #0.##; ",
                                   "销售数量; ③销售信息|数量; 50; centre; #0.##; ",
                                   "销售金额; ③销售信息|金额; 65; centre; #0.##; sum #0.## regular",
                                   "销售利润; ③销售信息|利润; 65; centre; #0.##; sum #0.## regular",
                                   "库存数量; ④库存信息|数量; 50; centre; #0.##; ",
                                   "库存金额; ④库存信息|金额; 65; centre; #0.##; sum #0.## regular",
                                   "备注; ; 75; left; ; ",
                               });
    QTest::newRow("sales detail")
        << described(grid::saleListColumns())
        << (QStringList{"销售日期; ; 65; left; ; 合计",
                        "商品编码; ①商品信息|商品编码; 65; left; ; "} +
            goodsTexts +
            QStringList{
                "销售单价; ②销售信息|单价; 50; centre; #0.##; ",
                "销售数量; ②销售信息|数量; 50; centre; #0.##; ",
                "销售金额; ②销售信息|金额; 65; centre; #0.##; sum regular",
                "客户姓名; ③客户信息|客户姓名; 65; left; ; ",
                "联系电话; ③客户信息|联系电话; 80; left; ; ",
                "详细地址; ③客户信息|详细地址; 135; left; ; ",
                "备注; ; 75; left; ; ",
            });
    QTest::newRow("returns") << described(grid::returnListColumns())
                             << (QStringList{"退货日期; ; 128; left; ; 合计",
                                             "商品编码; ①商品信息|商品编码; 65; left; ; "} +
                                 goodsTexts +
                                 QStringList{
                                     "退货数量; ②退货信息|数量; 50; centre; #0.##; sum regular",
                                     "退款金额; ②退货信息|退款金额; 65; centre; #0.##; sum regular",
                                     "进货单价; ②退货信息|进货单价; 65; centre; #0.##; ",
                                     "客户姓名; ③客户信息|客户姓名; 80; left; ; ",
                                     "退货原因; ; 160; left; ; ",
                                 });
}

void ListColumnsTest::columns() {
    QFETCH(QStringList, actual);
    QFETCH(QStringList, expected);
    QCOMPARE(actual, expected);
}

}  // namespace gridtest
