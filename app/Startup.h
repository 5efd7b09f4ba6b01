#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QApplication;
class TMainForm;
class TXsxxForm;
class TDy1Form;
class TJbzlForm;
class TDyForm;
class TXsmxForm;
class TDy2Form;
class TThmxForm;
class TThdyForm;
class TDy3Form;

namespace store {
class Connection;
}  // namespace store

namespace startup {

// The program's windows, created in their fixed order and living until the end.
class Windows {
  public:
    // Told of each window right after it was created.
    using CreatedHook = std::function<void(QWidget& window)>;

    // Creates the windows in order, each opening its connection and table. Throws the error of
    // the first window that cannot open the database; the windows made so far are removed.
    explicit Windows(const CreatedHook& created = {});
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TMainForm& mainForm() { return *mainForm_; }
    TXsxxForm& salesWindow() { return *xsxxForm_; }
    TXsmxForm& salesDetailWindow() { return *xsmxForm_; }
    TJbzlForm& companyWindow() { return *jbzlForm_; }
    TDyForm& purchaseReport() { return *dyForm_; }
    TDy1Form& goodsReport() { return *dy1Form_; }
    TDy2Form& salesDetailReport() { return *dy2Form_; }
    TThmxForm& returnsWindow() { return *thmxForm_; }
    TThdyForm& returnsReport() { return *thdyForm_; }
    TDy3Form& lowStockReport() { return *dy3Form_; }

  private:
    template <typename Window>
    Window* create(const CreatedHook& created);
    void connectWindows();
    void clear();

    TMainForm* mainForm_ = nullptr;
    TXsxxForm* xsxxForm_ = nullptr;
    TDy1Form* dy1Form_ = nullptr;
    TJbzlForm* jbzlForm_ = nullptr;
    TDyForm* dyForm_ = nullptr;
    TXsmxForm* xsmxForm_ = nullptr;
    TDy2Form* dy2Form_ = nullptr;
    TThmxForm* thmxForm_ = nullptr;
    TThdyForm* thdyForm_ = nullptr;
    TDy3Form* dy3Form_ = nullptr;
    std::vector<std::unique_ptr<QWidget>> windows_;  // in order of creation
};

// Chooses the data store from the settings file ([数据库]: a PostgreSQL server, or data.mdb),
// then creates the windows and shows the main one. A damaged data.mdb may first be repaired from
// an automatic copy (the user is asked). When the setting cannot be used or the database cannot
// be opened (a server unreachable, a database without the program's tables) the error is shown
// and windows stays empty; the result is the program's exit status in that case, 0 otherwise.
// While windows lives, a command that meets a damaged data.mdb offers its repair.
int start(std::unique_ptr<Windows>& windows);

// The whole program: fonts, windows, the message loop until the main window closes.
int run(QApplication& application);

}  // namespace startup
