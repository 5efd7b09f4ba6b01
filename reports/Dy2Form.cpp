#include "reports/Dy2Form.h"

#include "store/ConnectionString.h"

TDy2Form::TDy2Form(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      forms_(forms) {
    ADOConnection1.setLoginPrompt(false);
    ADOConnection1.open();
    ADODataSet1.setSql("select * from 表3");
    ADODataSet1.open();
}

TDy2Form::~TDy2Form() = default;
