#include "reports/Dy2Form.h"

#include "reports/layouts/ReportLayout.h"

TDy2Form::TDy2Form(QWidget* parent) : ReportWindow(reports::layouts::salesDetailReport(), parent) {}
