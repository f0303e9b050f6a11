#pragma once
// The main window: menu, dockable toolbar ("Config", "Operate" and the view's three modes),
// status bar with the message pane and the CAP/NUM/SCRL indicators, and the view in the
// middle. Commands go to the document or the view, or open their dialogs here.
#include <QDialog>
#include <QIcon>
#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace mrv {

class CMrvDoc;
class CMrvView;
class RecentFileList;
struct TransferCommand;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CMrvDoc& doc, QWidget* parent = nullptr);

    CMrvView* View() const { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // Actions by command name ("Config", "Operate", "OpenDatabase", ...), for tests.
    QAction* Action(const QString& name) const;

    // Sets every action's enabled state and check mark from the document.
    void UpdateCommandUi();

    // The databases opened last, kept by the application; Database > Recent Databases lists
    // them and every database opened here goes to their front. Null: no list.
    void SetRecentFiles(RecentFileList* recent);
    // Opens the database a path or a server's connection string names, as Open Database does
    // once it has its file; a file that is not there is said so. 1 when opened.
    int OpenDatabaseNamed(const QString& name);

public slots:
    void OnConfig();
    void OnAbout();
    void OnOpenDatabase();
    void OnOpenServerDatabase();
    void OnCloseDatabase();
    // Database > Recent Databases, entry `index` (0 the newest).
    void OnRecentDatabase(int index);
    void OnParameterSetting();
    void OnFilePathSetting();
    void OnConvertDataFile();
    // The readings of the data file, or the rows of an energy database, as a spreadsheet.
    void OnExportReadings();
    void OnExportEnergy();
    void OnEnergyDatabase();

    void OnOperate();
    void OnLineCheck();
    // The view's mode commands.
    void OnHhuSetting();
    void OnMeterSetting();
    void OnViewFile();

    void OnCreateDownloadFile();
    // The transfer program, to the unit and back.
    void OnDownloadFile();
    void OnUploadFile();

    // Commands whose dialogs come with later work; each says so on the status bar.
    void OnMeterTest();

protected:
    // Refused while the transfer program runs: the window waits for it.
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void RunTransfer(const TransferCommand& command);
    // View > Language: the system's, Chinese or English, kept in the profile.
    void AddLanguageMenu(QMenu* view);
    QAction* AddAction(QMenu* menu, const QString& name, const QString& text, const QString& prompt,
                       void (CMainFrame::*slot)());
    void NotAvailable(const QString& what);
    void UpdateLockIndicators();
    void SetBusy(bool busy);
    // Puts the database just opened at the front of the recent list.
    void RememberOpenedDatabase();
    void UpdateRecentMenu();

    CMrvDoc& m_doc;
    CMrvView* m_view;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    QLabel* m_scroll = nullptr;
    bool m_transferRunning = false;
    RecentFileList* m_recent = nullptr;
    QMenu* m_recentMenu = nullptr;
};

// "About": the program icon, one line of text and the version.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

} // namespace mrv
