#pragma once

#include <QWidget>

#include "app/Forms.h"
#include "store/Connection.h"
#include "store/Query.h"

// The purchase report window: the report over the goods table's purchase columns. Never shown
// itself; its data set feeds the report engine.
class TDyForm : public QWidget {
    Q_OBJECT
  public:
    explicit TDyForm(Forms& forms, QWidget* parent = nullptr);
    ~TDyForm() override;

    store::Connection ADOConnection1;
    store::Query ADODataSet1;  // select * from 表1

  private:
    [[maybe_unused]] Forms& forms_;  // the other windows
};
