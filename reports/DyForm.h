#pragma once

#include "reports/ReportWindow.h"

// The purchase report window: every row of the goods table with its purchase and supplier columns
// (进货明细表).
class TDyForm : public reports::ReportWindow {
    Q_OBJECT
  public:
    explicit TDyForm(QWidget* parent = nullptr);
};
