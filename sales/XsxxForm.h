#pragma once

#include <QWidget>
#include <memory>

#include "app/Forms.h"
#include "store/Connection.h"
#include "store/Query.h"

namespace Ui {
class TXsxxForm;
}

// The sales window: the goods list with its sales and stock figures, and the sale entry.
class TXsxxForm : public QWidget {
    Q_OBJECT
  public:
    explicit TXsxxForm(Forms& forms, QWidget* parent = nullptr);
    ~TXsxxForm() override;

    store::Connection ADOConnection1;
    store::Query ADOQuery1;  // select * from 表1
    store::Query ADOQuery2;  // select * from 表3
    store::Query ADOQuery3;  // select * from 表5

  private:
    [[maybe_unused]] Forms& forms_;  // the other windows
    std::unique_ptr<Ui::TXsxxForm> ui;
};
