#include "sales/XsxxForm.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "ui_XsxxForm.h"

TXsxxForm::TXsxxForm(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADOQuery1(ADOConnection1),
      ADOQuery2(ADOConnection1),
      ADOQuery3(ADOConnection1),
      forms_(forms),
      ui(std::make_unique<Ui::TXsxxForm>()) {
    store::openOnCreation(ADOConnection1,
                          {{&ADOQuery1, "表1"}, {&ADOQuery2, "表3"}, {&ADOQuery3, "表5"}});
    ui->setupUi(this);
}

TXsxxForm::~TXsxxForm() = default;
