#pragma once
// The main view: the centre of the program. It shows one of three lists at a time, by the
// document's view mode: the HHUs (mode 1), the Blocks with their meters (mode 2) or the Blocks
// of an open data file with their readings (mode 3); mode 0 shows nothing. A divider the user
// drags between x 120 and 200 splits the left pane (a group box with a list and two buttons)
// from the right pane (texts the view draws, a list and up to five buttons). The buttons,
// context menus and double clicks run the view's commands; those that open other parts'
// dialogs go through ViewCommands.
#include "ui/view/ViewCommands.h"

#include <QWidget>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QGroupBox;
class QMenu;
class QPushButton;

namespace mrv {

class CMarkListBox;
class CMrvDoc;
class CRecordListCtrl;

class CMrvView : public QWidget {
    Q_OBJECT
public:
    // Control ids of the children.
    enum ControlId {
        IdGroup = 200,
        IdAdd = 202,
        IdModify = 203,
        IdDelete = 204, // context menu only
        IdOpen = 205,
        IdClose = 206,
        IdQuery = 210,
        IdMeterAdd = 211,
        IdMeterModify = 212,
        IdMeterDelete = 213,
        IdInfo = 214,
        IdPara = 215,
        IdInput = 216,
        IdPrint = 217,
        IdSet = 218,
        IdRead = 219,
        IdHhuBlocks = 220, // list control: the Blocks of one HHU
        IdMeters = 221,    // list control: the meters of one Block
        IdReadings = 222,  // list control: the readings of one data-file Block
        IdHhuList = 230,   // list box: HHUs
        IdBlockList = 231, // list box: Blocks
        IdFileBlocks = 232 // list box: Blocks of the data file
    };
    static constexpr int kMinSplit = 120;
    static constexpr int kMaxSplit = 200;
    static constexpr int kButtonWidth = 50;
    static constexpr int kButtonHeight = 24;
    // The meter total above which no download file can be made for an HHU.
    static constexpr int kMaxManagedMeters = 5500;

    explicit CMrvView(CMrvDoc& doc, QWidget* parent = nullptr);

    // The document loaded HHUs and Blocks: both left lists are refilled, the first HHU and
    // the first Block selected with their right lists, and `mode` shown.
    void RefreshLists(int mode);
    // Mode 0: every child hidden.
    void ResetDisplay();
    // Places the current mode's controls for the stored size and repaints the right pane.
    void LayoutControls();
    // Hides the controls the current mode does not show.
    void HideOtherControls();

    // The mode commands.
    void OnHhuSetting();
    void OnMeterSetting();
    void OnViewFile();
    // A button, a context-menu entry or a double click: runs command `id`.
    void OnCommand(int id);
    // "Open": choose and load a data file and show it. "Close": close it.
    void OnOpenDataFile();
    void OnCloseDataFile();
    // Loads the data file `path` and shows it as Open does (the file named on the command
    // line); false after the document's message.
    bool OpenDataFile(const std::string& path);
    // What the view hands to `command` now; none when its condition fails (Set without
    // meters or without a selected Block, Read without readings, Info without a selected
    // reading, which says so).
    std::optional<ViewCommandArgs> PrepareCommand(ViewCommand command);
    // Runs `command` with `handler` in this view instead of the table's; tests record what
    // the view hands over instead of opening dialogs. A null handler restores the table's.
    using CommandHandler = std::function<void(const ViewCommandArgs&)>;
    void SetCommandHandler(ViewCommand command, CommandHandler handler);

    QPushButton* Button(int id) const;
    CMarkListBox* ListBox(int id) const;
    CRecordListCtrl* ListCtrl(int id) const;
    QGroupBox* GroupBox() const { return m_group; }
    int SplitPos() const { return m_splitPos; }
    bool IsDragging() const { return m_dragging != 0; }
    int DragPos() const { return m_dragPos; }
    // The band that follows the pointer during a drag (hidden otherwise).
    QWidget* DragBand() const { return m_band; }
    const std::string& DataFilePath() const { return m_dataFilePath; }

    // The texts the view draws in the right pane in the current mode, with their top-left
    // corners.
    struct DrawnText {
        QPoint at;
        QString text;
    };
    std::vector<DrawnText> DrawnTexts() const;
    // What the empty view (mode 0) says in its middle about getting started; empty in the
    // other modes.
    QString EmptyViewHint() const;

signals:
    // The view mode changed: check marks and enabling follow.
    void ModeChanged();
    // A text for the status bar.
    void StatusMessage(const QString& text, int timeoutMs);
    // A command of ViewCommands has run (or said that this build does not have it): what it
    // changed may change what the menus enable.
    void CommandDone(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    QPushButton* MakeButton(int id, const QString& text, const char* objectName);
    void Place(int id, int x, int y, int width, int height);
    void Place(QWidget* w, int x, int y, int width, int height);
    void PlaceControls(bool byProgram);
    void SetMode(int mode);
    void ShowMode(int mode);
    void OnSelChange(int id);
    void OnRightPressed(int id, QPoint globalPos);
    void OnDoubleClicked(int id, QPoint globalPos);
    void RunMenu(QMenu& menu, QPoint globalPos);
    void RunViewCommand(ViewCommand command);
    // The data file the document has just loaded: its first Block and readings, in mode 3.
    void ShowLoadedDataFile();
    void InvertBand(int x);
    bool InDividerBand(QPoint p) const;
    bool InSizingZone(QPoint p) const;
    int Mode() const;

    CMrvDoc& m_doc;
    std::string m_dataFilePath;
    QGroupBox* m_group = nullptr;
    std::array<QPushButton*, 20> m_buttons{}; // by id - 200
    CMarkListBox* m_hhuList = nullptr;
    CMarkListBox* m_blockList = nullptr;
    CMarkListBox* m_fileBlocks = nullptr;
    CRecordListCtrl* m_hhuBlocks = nullptr;
    CRecordListCtrl* m_meters = nullptr;
    CRecordListCtrl* m_readings = nullptr;
    QWidget* m_band = nullptr;
    int m_splitPos = kMinSplit;
    int m_clientHeight = 200;
    int m_clientWidth = 400;
    int m_dragging = 0;
    int m_dragPos = kMinSplit;
    bool m_sizeCursor = false;
    std::map<ViewCommand, CommandHandler> m_handlers;
};

} // namespace mrv
