#pragma once

#include <QWidget>

#include "app/Forms.h"
#include "store/Connection.h"
#include "store/Query.h"

// The goods report window: the goods with their sales and stock figures. Never shown itself; its
// data set feeds the report engine.
class TDy1Form : public QWidget {
    Q_OBJECT
  public:
    explicit TDy1Form(Forms& forms, QWidget* parent = nullptr);
    ~TDy1Form() override;

    store::Connection ADOConnection1;
    store::Query ADODataSet1;  // select * from 表1

  private:
    [[maybe_unused]] Forms& forms_;  // the other windows
};
