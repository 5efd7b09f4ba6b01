#pragma once

#include "reports/engine/Report.h"

// A purchase-report-like layout with the real band heights: title 127, detail 23 and summary 81
// design units, all 1025 wide; cells overlap their neighbours by one unit.
inline void buildSampleReport(reports::TReport& report, reports::DataCursor* rows,
                              reports::DataCursor* company = nullptr) {
    using namespace reports;
    const ReportFont regular10{QStringLiteral("宋体"), 10, false};
    const ReportFont bold11{QStringLiteral("宋体"), 11, true};
    const ReportFont bold12{QStringLiteral("宋体"), 12, true};
    report.DataSet = rows;

    TReportBand& title = report.addBand(TBandType::bandTitle, 127, 1025);
    title.addDBText(8, 0, 25, company, QStringLiteral("公司名称"),
                    {QStringLiteral("宋体"), 18, true});
    title.addLabel(432, 16, 36, QStringLiteral("进货明细表"), {QStringLiteral("宋体"), 26, true});
    title.addShape(0, 103, 73, 25);
    title.addLabel(4, 108, 17, QStringLiteral("商品编码"), bold11);
    title.addShape(72, 103, 97, 25);
    title.addLabel(85, 108, 17, QStringLiteral("商品名称"), bold11);
    title.addShape(168, 103, 81, 25);
    title.addLabel(177, 108, 17, QStringLiteral("金额"), bold11);

    TReportBand& detail = report.addBand(TBandType::bandDetail, 23, 1025);
    detail.addShape(0, 0, 73, 25);
    detail.addShape(72, 0, 97, 25);
    detail.addShape(168, 0, 81, 25);
    detail.addDBText(5, 4, 17, rows, QStringLiteral("商品编码"), regular10);
    detail.addDBText(76, 4, 17, rows, QStringLiteral("商品名称"), regular10);
    detail.addDBText(173, 4, 17, rows, QStringLiteral("进货金额"), regular10);

    TReportBand& summary = report.addBand(TBandType::bandSummary, 81, 1025);
    summary.addShape(0, 0, 73, 25);
    summary.addLabel(16, 5, 17, QStringLiteral("合计"), bold12);
    summary.addLabel(173, 5, 17, QStringLiteral("RepLabel15"), regular10,
                     QStringLiteral("RepLabel15"));
    summary.addLabel(16, 40, 17, QStringLiteral("制表人："), bold12);
}

inline QStringList sampleFields() {
    return {QStringLiteral("商品编码"), QStringLiteral("商品名称"), QStringLiteral("进货金额")};
}
