#pragma once

#include "reports/ReportWindow.h"

// The low-stock report window: the low goods codes as the 库存预警 list last showed them
// (库存预警表).
class TDy3Form : public reports::ReportWindow {
    Q_OBJECT
  public:
    explicit TDy3Form(QWidget* parent = nullptr);
};
