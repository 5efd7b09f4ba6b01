#include "reports/DyForm.h"

#include "store/ConnectionString.h"

TDyForm::TDyForm(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      forms_(forms) {
    ADOConnection1.setLoginPrompt(false);
    ADOConnection1.open();
    ADODataSet1.setSql("select * from 表1");
    ADODataSet1.open();
}

TDyForm::~TDyForm() = default;
