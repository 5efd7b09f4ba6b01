#pragma once

#include "reports/ReportWindow.h"

// The goods report window: every row of the goods table with its sales and stock figures
// (销售统计表).
class TDy1Form : public reports::ReportWindow {
    Q_OBJECT
  public:
    explicit TDy1Form(QWidget* parent = nullptr);
};
