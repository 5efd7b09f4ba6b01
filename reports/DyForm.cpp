#include "reports/DyForm.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"

TDyForm::TDyForm(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADODataSet1(ADOConnection1),
      forms_(forms) {
    store::openOnCreation(ADOConnection1, {{&ADODataSet1, "表1"}});
}

TDyForm::~TDyForm() = default;
