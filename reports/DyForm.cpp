#include "reports/DyForm.h"

#include "reports/layouts/ReportLayout.h"

TDyForm::TDyForm(QWidget* parent) : ReportWindow(reports::layouts::purchaseReport(), parent) {}
