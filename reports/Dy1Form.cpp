#include "reports/Dy1Form.h"

#include "store/ConnectionString.h"

TDy1Form::TDy1Form(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      forms_(forms) {
    ADOConnection1.setLoginPrompt(false);
    ADOConnection1.open();
    ADODataSet1.setSql("select * from 表1");
    ADODataSet1.open();
}

TDy1Form::~TDy1Form() = default;
