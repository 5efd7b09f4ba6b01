#include "grid/ColumnMakers.h"

namespace grid {

GridColumn textColumn(const char* field, const char* caption, int width, Qt::Alignment alignment) {
    GridColumn c;
    c.field = QString::fromUtf8(field);
    c.caption = QString::fromUtf8(caption);
    c.width = width;
    c.alignment = alignment;
    return c;
}

GridColumn numberColumn(const char* field, const char* caption, int width) {
    GridColumn c = textColumn(field, caption, width, Qt::AlignHCenter);
    c.displayFormat = QStringLiteral("#0.##");
    return c;
}

GridColumn withTotalLabel(GridColumn column) {
    column.footer = FooterKind::StaticText;
    column.footerText = QStringLiteral("合计");
    column.footerAlignment = Qt::AlignHCenter;
    return column;
}

GridColumn withSum(GridColumn column, const QString& footerFormat, std::optional<bool> bold) {
    column.footer = FooterKind::Sum;
    column.footerFormat = footerFormat;
    column.footerAlignment = Qt::AlignHCenter;
    column.footerBold = bold;
    return column;
}

}  // namespace grid
