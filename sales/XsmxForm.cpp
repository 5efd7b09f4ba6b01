#include "sales/XsmxForm.h"

#include "store/Connection.h"
#include "store/ConnectionString.h"
#include "ui_XsmxForm.h"

TXsmxForm::TXsmxForm(Forms& forms, QWidget* parent)
    : QWidget(parent),
      ADOConnection1(store::initialConnectionString()),
      ADOQuery1(ADOConnection1),
      forms_(forms),
      ui(std::make_unique<Ui::TXsmxForm>()) {
    store::openOnCreation(ADOConnection1, {{&ADOQuery1, "表3"}});
    ui->setupUi(this);
}

TXsmxForm::~TXsmxForm() = default;
