#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/Startup.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/widgets/ScriptedPlatform.h"

namespace apptest {

// A scripted platform whose desktop, data and settings folders are temporary ones of the test's
// own, so that the launchers, icons and settings the program writes stay out of the user's.
class ScriptedDesktop {
  public:
    ScriptedDesktop() {
        platform_.desktop = desktop_.path();
        qputenv("XDG_DATA_HOME", data_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", data_.path().toUtf8());
    }

    platform::ScriptedPlatform& platform() { return platform_; }
    QString desktopFolder() const { return desktop_.path(); }
    // A file in the temporary data folder, for workbooks and copies the test has written.
    QString dataFile(const char* name) const { return data_.filePath(QString::fromUtf8(name)); }

  private:
    QTemporaryDir desktop_;
    QTemporaryDir data_;
    platform::ScriptedPlatform platform_;
};

// The program as it starts over a fresh data.mdb in the current directory: the rows the test
// stores first, then every window made as at start-up. Gone in the reverse order.
class StartedProgram {
  public:
    explicit StartedProgram(const std::function<void()>& storeRows = {}) {
        if (storeRows) storeRows();
        windows_ = std::make_unique<startup::Windows>();
    }
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    platform::ScriptedPlatform& platform() { return desktop_.platform(); }
    const ScriptedDesktop& desktop() const { return desktop_; }
    testsupport::TestDatabase& database() { return database_; }
    startup::Windows& windows() { return *windows_; }

  private:
    ScriptedDesktop desktop_;
    testsupport::TestDatabase database_;
    std::unique_ptr<startup::Windows> windows_;
};

}  // namespace apptest
