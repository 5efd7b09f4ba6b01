#pragma once

#include <QWidget>
#include <memory>

#include "app/Forms.h"
#include "store/Connection.h"
#include "store/Query.h"

namespace Ui {
class TXsmxForm;
}

// The sales detail window: the recorded sales of 表3, their correction and deletion.
class TXsmxForm : public QWidget {
    Q_OBJECT
  public:
    explicit TXsmxForm(Forms& forms, QWidget* parent = nullptr);
    ~TXsmxForm() override;

    store::Connection ADOConnection1;
    store::Query ADOQuery1;  // select * from 表3

  private:
    [[maybe_unused]] Forms& forms_;  // the other windows
    std::unique_ptr<Ui::TXsmxForm> ui;
};
