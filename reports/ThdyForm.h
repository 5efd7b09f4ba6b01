#pragma once

#include "reports/ReportWindow.h"

// The returns report window: every row of the returns table (退货明细表).
class TThdyForm : public reports::ReportWindow {
    Q_OBJECT
  public:
    explicit TThdyForm(QWidget* parent = nullptr);
};
