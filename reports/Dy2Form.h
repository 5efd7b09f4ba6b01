#pragma once

#include <QWidget>

#include "app/Forms.h"
#include "store/Connection.h"
#include "store/Query.h"

// The sales detail report window: the recorded sales. Never shown itself; its
// data set feeds the report engine.
class TDy2Form : public QWidget {
    Q_OBJECT
  public:
    explicit TDy2Form(Forms& forms, QWidget* parent = nullptr);
    ~TDy2Form() override;

    store::Connection ADOConnection1;
    store::Query ADODataSet1;  // select * from 表3

  private:
    [[maybe_unused]] Forms& forms_;  // the other windows
};
