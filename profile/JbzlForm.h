#pragma once

#include <QDialog>
#include <memory>

#include "profile/records/CompanyProfile.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/WindowTables.h"

class QLineEdit;
class QToolButton;

namespace Ui {
class TJbzlForm;
}

// The company window: the shop's own details, one row of 表2. Its query stays open on the
// company row for the whole run, because the report headings read it.
class TJbzlForm : public QDialog {
    Q_OBJECT

  public:
    explicit TJbzlForm(QWidget* parent = nullptr);
    ~TJbzlForm() override;

    store::Query& companyQuery() noexcept { return ADOQuery1; }

    // The edits by the company field they show, and the two commands.
    QLineEdit& companyNameEdit();
    QLineEdit& addressEdit();
    QLineEdit& contactEdit();
    QLineEdit& phoneEdit();
    QLineEdit& websiteEdit();
    QLineEdit& remarkEdit();
    QToolButton& saveButton();
    QToolButton& cancelButton();

  private slots:
    void FormCreate();
    void SpeedButton1Click();
    void SpeedButton2Click();

  private:
    profile::CompanyTexts editTexts() const;
    void showTexts(const profile::CompanyTexts& texts);

    std::unique_ptr<Ui::TJbzlForm> ui_;
    // The reports read the company row while a restore runs, in case it fails and the program
    // goes on.
    store::WindowTables tables_{{store::schema::kCompany},
                                store::WindowTables::OnRestore::KeepOpen};
    store::Connection& ADOConnection1 = tables_.connection();
    store::Query& ADOQuery1 = tables_.query(0);  // select * from 表2
};
