#pragma once

#include <QFont>
#include <QString>

namespace reports {

// A report font: family name, size in points, bold or regular; always black.
struct ReportFont {
    QString name = QStringLiteral("宋体");
    double points = 10.0;
    bool bold = false;

    friend bool operator==(const ReportFont&, const ReportFont&) = default;

    // The font at a size in points for a painter whose device has deviceDpi, drawing for a
    // page resolution of pageDpi (a zoomed preview draws at a higher page resolution).
    QFont toQFont(double pageDpi = 72.0, double deviceDpi = 72.0) const {
        QFont font(name);
        font.setBold(bold);
        font.setPointSizeF(points * pageDpi / deviceDpi);
        // Each character keeps its own advance, so a text's width is the sum of its characters'.
        font.setKerning(false);
        font.setStyleStrategy(QFont::PreferNoShaping);
        return font;
    }
};

}  // namespace reports
