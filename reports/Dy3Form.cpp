#include "reports/Dy3Form.h"

#include "reports/layouts/ReportLayout.h"

TDy3Form::TDy3Form(QWidget* parent) : ReportWindow(reports::layouts::lowStockReport(), parent) {}
