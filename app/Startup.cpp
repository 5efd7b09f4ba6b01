#include "app/Startup.h"

#include <QApplication>
#include <exception>
#include <type_traits>

#include "app/MainForm.h"
#include "app/backup/AutomaticBackupHooks.h"
#include "app/backup/BackupCommands.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "profile/JbzlForm.h"
#include "reports/Dy1Form.h"
#include "reports/Dy2Form.h"
#include "reports/DyForm.h"
#include "sales/XsmxForm.h"
#include "sales/XsxxForm.h"

namespace startup {

template <typename Window>
Window* Windows::create(const CreatedHook& created) {
    std::unique_ptr<Window> window;
    // Windows get what they use through setters once all exist; older ones still take the table.
    if constexpr (std::is_constructible_v<Window, Forms&>)
        window = std::make_unique<Window>(forms_);
    else
        window = std::make_unique<Window>();
    Window* raw = window.get();
    // Only the main window's closing ends the program.
    if (!windows_.empty()) raw->setAttribute(Qt::WA_QuitOnClose, false);
    windows_.push_back(std::move(window));
    if (created) created(*raw);
    return raw;
}

Windows::Windows(const CreatedHook& created) {
    try {
        forms_.mainForm = create<TMainForm>(created);
        forms_.xsxxForm = create<TXsxxForm>(created);
        forms_.dy1Form = create<TDy1Form>(created);
        forms_.jbzlForm = create<TJbzlForm>(created);
        forms_.dyForm = create<TDyForm>(created);
        forms_.xsmxForm = create<TXsmxForm>(created);
        forms_.dy2Form = create<TDy2Form>(created);
        forms_.xsxxForm->setMainWindow(forms_.mainForm);
        forms_.xsxxForm->setSalesDetailWindow(forms_.xsmxForm);
        forms_.xsmxForm->setMainWindow(forms_.mainForm);
        forms_.xsxxForm->setGoodsReport(*forms_.dy1Form);
        forms_.xsmxForm->setSalesDetailReport(*forms_.dy2Form);
        // The report headings read the company window's query, made after two of the reports.
        const store::Query& company = forms_.jbzlForm->companyQuery();
        forms_.dyForm->setCompanyQuery(company);
        forms_.dy1Form->setCompanyQuery(company);
        forms_.dy2Form->setCompanyQuery(company);
    } catch (...) {
        forms_ = Forms{};
        while (!windows_.empty()) windows_.pop_back();
        throw;
    }
}

Windows::~Windows() {
    // Later windows may use earlier ones (the reports read the company window), so they go first.
    forms_ = Forms{};
    while (!windows_.empty()) windows_.pop_back();
}

int start(std::unique_ptr<Windows>& windows) {
    windows.reset();
    try {
        windows = std::make_unique<Windows>();
    } catch (const std::exception& error) {
        platform::showError(nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
    windows->mainForm().show();
    return 0;
}

int run(QApplication& application) {
    platform::installFonts();
    std::unique_ptr<Windows> windows;
    if (const int status = start(windows); status != 0) return status;
    backup::startAutomaticBackups(windows->mainForm(), backup::programFolder());
    const int status = application.exec();
    backup::finishAutomaticBackups(backup::programFolder());
    return status;
}

}  // namespace startup
