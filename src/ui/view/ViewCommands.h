#pragma once
// The commands of the main view's buttons, context menus and double clicks that open the
// dialogs of other parts of the program, and what the view hands each of them.
//
// The view checks a command's condition, fills ViewCommandArgs and calls the handler that
// ViewCommandHandlerFor returns (ViewCommands.cpp holds the table). A command whose handler
// is null says "not available in this build" on the status bar.
#include <QString>

#include <array>
#include <cstdint>

class QWidget;

namespace mrv {

class CMrvDoc;
class CMrvView;

// The values are the control ids of the buttons (and of the context-menu entries).
enum class ViewCommand {
    Add = 202,         // HHU in HHU mode, otherwise Block
    Modify = 203,      // the selected HHU in HHU mode, otherwise the selected Block
    Delete = 204,      // likewise; context menu only
    Query = 210,       // look a meter up
    MeterAdd = 211,    // add meters to the Block shown
    MeterModify = 212, // the selected meter
    MeterDelete = 213, // the selected meter
    Info = 214,        // Data Exchange Information of the selected reading
    Para = 215,        // View Data File of the data-file Block shown
    Input = 216,       // import the data file's readings into the energy database
    Print = 217,       // print preview of the readings
    Set = 218,         // Meter Setting wizard over the meters of the selected Block
    Read = 219,        // Reading wizard over the meters of the data-file Block
};

struct ViewCommandArgs {
    ViewCommand command = ViewCommand::Add;
    CMrvDoc* doc = nullptr;
    // Its lists (CMrvView::ListBox, CMrvView::ListCtrl), selections and LayoutControls.
    CMrvView* view = nullptr;
    // The window the command's dialogs belong to.
    QWidget* parent = nullptr;
    // Add, Modify, Delete: true when they act on HHUs (HHU mode), false for Blocks.
    bool hhuMode = false;

    // Set and Read: the baud rate in bits per second and the port index (0 is COM1).
    int baudRate = 0;
    int portIndex = 0;
    // Set: the row of the meter selected in the meter list (0 when none is selected) and the
    // meter constant of the data-file parameters, three BCD bytes least significant first.
    int meterIndex = 0;
    std::array<std::uint8_t, 3> constant{};

    // Read: record numbers of the data file, counted from 1 over the file: the selected
    // reading's (the first when none is selected), the Block's first and its last.
    int currentSequence = 0;
    int firstSequence = 0;
    int lastSequence = 0;

    // Info: record number of the selected reading, counted from 1 over the file.
    int recordNumber = 0;

    // Para: index of the data-file Block shown, in the file's Block table.
    int blockIndex = 0;
};

using ViewCommandHandler = void (*)(const ViewCommandArgs& args);

// The function that runs `command`, or null while this build does not have it.
ViewCommandHandler ViewCommandHandlerFor(ViewCommand command);

// What the status bar calls the command, in the window's language.
QString ViewCommandName(ViewCommand command, bool hhuMode);

} // namespace mrv
