#include "reports/ThdyForm.h"

#include "reports/layouts/ReportLayout.h"

TThdyForm::TThdyForm(QWidget* parent) : ReportWindow(reports::layouts::returnsReport(), parent) {}
