#include "sales/XsmxForm.h"

#include "store/ConnectionString.h"
#include "ui_XsmxForm.h"

TXsmxForm::TXsmxForm(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADOQuery1(ADOConnection1),
      forms_(forms),
      ui(std::make_unique<Ui::TXsmxForm>()) {
    ADOConnection1.setLoginPrompt(false);
    ADOConnection1.open();
    ADOQuery1.setSql("select * from 表3");
    ADOQuery1.open();
    ui->setupUi(this);
}

TXsmxForm::~TXsmxForm() = default;
