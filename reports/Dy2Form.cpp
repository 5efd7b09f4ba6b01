#include "reports/Dy2Form.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"

TDy2Form::TDy2Form(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      forms_(forms) {
    store::openOnCreation(ADOConnection1, {{&ADODataSet1, "表3"}});
}

TDy2Form::~TDy2Form() = default;
