#pragma once

#include <QString>
#include <optional>

namespace grid {

enum class FooterKind { None, StaticText, Sum };

// One entry of a grid's column list.
struct GridColumn {
    QString field;    // the result-set column shown
    QString caption;  // "上|下" makes a two-level title; empty means the field name
    int width = 64;   // pixels
    Qt::Alignment alignment = Qt::AlignLeft;
    QString displayFormat;  // "#0.##" or empty
    FooterKind footer = FooterKind::None;
    QString footerText;  // fixed text of a static footer
    Qt::Alignment footerAlignment = Qt::AlignHCenter;
    std::optional<bool> footerBold;  // overrides the grid's footer font weight
    QString footerFormat;            // "#0.##" or empty
};

}  // namespace grid
