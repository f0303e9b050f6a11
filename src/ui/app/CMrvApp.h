#pragma once
// The application object: builds the document, the main frame and the view, loads the
// settings, shows the window, and on exit lets the document write the settings back.
#include "doc/RecentFileList.h"

#include <QIcon>
#include <QString>

#include <array>
#include <memory>
#include <string>

namespace mrv {

class CMainFrame;
class CMrvDoc;
class Prompter;
class QtPrompter;
class SettingsStore;

// The status icons of the meter test station: pass, fail, neutral.
std::array<QIcon, 3> MakeStatusIcons();

class CMrvApp {
public:
    // `store` is the profile (QSettings("halvane", "mrv003e") in the program, a temporary
    // INI file in tests); `prompter` null means real message boxes. Both outlive the app.
    CMrvApp(SettingsStore& store, Prompter* prompter, std::string programPath);
    ~CMrvApp();
    CMrvApp(const CMrvApp&) = delete;
    CMrvApp& operator=(const CMrvApp&) = delete;

    // Start-up: recent-file list, status icons, document, frame and view, LoadSettings.
    // `show` false leaves the window hidden (tests). false when the frame could not be made.
    bool InitInstance(bool show = true);
    // The file or server named on the command line, once the window is there: a data file
    // (.dbf) is shown in View File mode, anything else opens as Open Database opens a
    // database. A name that cannot be opened leaves the empty window after its message.
    void OpenFile(const QString& name);
    // Destroys frame and document (which saves the settings) and writes the recent files.
    void ExitInstance();

    CMrvDoc* Document() const { return m_doc.get(); }
    CMainFrame* MainFrame() const { return m_frame.get(); }
    const RecentFileList& RecentFiles() const { return m_recentFiles; }
    // The meter test station's status icons: pass, fail, neutral.
    const std::array<QIcon, 3>& StatusIcons() const { return m_icons; }

private:
    SettingsStore& m_store;
    std::unique_ptr<QtPrompter> m_ownPrompter;
    Prompter* m_prompter;
    std::string m_programPath;
    RecentFileList m_recentFiles;
    std::array<QIcon, 3> m_icons;
    std::unique_ptr<CMrvDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace mrv
