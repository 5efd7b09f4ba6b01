#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QLineEdit;

namespace Ui {
class TLowStockLevelDialog;
}

namespace stock {

// "设置最低库存…": the code, the name and the stock of a code summed over its rows, and the level
// the user types. 确定 hands the typed text to the store function given; a refused text is told
// and the dialog stays open with it, so nothing typed is lost.
class TLowStockLevelDialog : public QDialog {
    Q_OBJECT
  public:
    using Store = std::function<void(const std::string& levelText)>;
    TLowStockLevelDialog(QWidget* parent, const std::string& code, const std::string& name,
                         const std::string& stock, const std::string& level, Store store);
    ~TLowStockLevelDialog() override;

    QLineEdit& levelEdit() const;

  private slots:
    void Button1Click();

  private:
    std::unique_ptr<Ui::TLowStockLevelDialog> ui;
    Store store_;
};

}  // namespace stock
