#pragma once

#include "reports/ReportWindow.h"

// The sales detail report window: every row of the sales table (销售明细表).
class TDy2Form : public reports::ReportWindow {
    Q_OBJECT
  public:
    explicit TDy2Form(QWidget* parent = nullptr);
};
