#include "reports/Dy1Form.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"

TDy1Form::TDy1Form(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      forms_(forms) {
    store::openOnCreation(ADOConnection1, {{&ADODataSet1, "表1"}});
}

TDy1Form::~TDy1Form() = default;
