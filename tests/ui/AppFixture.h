#pragma once
// The whole program started on a profile file of the test's own, with scripted message boxes:
// the fixture of the tests that drive it from its main window.
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace mrv::test {

class AppFixture : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<QtSettingsStore> store = OpenStore();
    std::unique_ptr<CMrvApp> app;

    std::unique_ptr<QtSettingsStore> OpenStore()
    {
        return std::make_unique<QtSettingsStore>(QString::fromStdString(dir.File("profile.ini")));
    }
    void Start()
    {
        std::filesystem::create_directories(dir.File("bin"));
        app = std::make_unique<CMrvApp>(*store, &prompter, dir.File("bin/mrv003e"));
        ASSERT_TRUE(app->InitInstance(false));
    }
    // Ends the program and reads its profile back from the file.
    void Exit()
    {
        app.reset();
        store = OpenStore();
    }
    CMrvDoc& Doc() { return *app->Document(); }
    CMainFrame& Frame() { return *app->MainFrame(); }
};

} // namespace mrv::test
