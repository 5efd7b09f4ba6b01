#include "reports/Dy1Form.h"

#include "reports/layouts/ReportLayout.h"

TDy1Form::TDy1Form(QWidget* parent) : ReportWindow(reports::layouts::goodsReport(), parent) {}
