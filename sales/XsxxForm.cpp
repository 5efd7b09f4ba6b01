#include "sales/XsxxForm.h"

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
    ADOConnection1.setLoginPrompt(false);
    ADOConnection1.open();
    ADOQuery1.setSql("select * from 表1");
    ADOQuery1.open();
    ADOQuery2.setSql("select * from 表3");
    ADOQuery2.open();
    ADOQuery3.setSql("select * from 表5");
    ADOQuery3.open();
    ui->setupUi(this);
}

TXsxxForm::~TXsxxForm() = default;
