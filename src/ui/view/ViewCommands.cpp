// The table of the view's commands. Each command's handler lives with its dialogs; to plug one
// in, include its header in the group below and put the function into its line of the table.
#include "ui/view/ViewCommands.h"

// HHU, Block and meter editing.
#include "ui/edit/EditCommands.h"

// Data-file dialogs and the energy import.
#include "ui/datafile/DataFileCommands.h"

// Meter Setting and Reading wizards.
#include "ui/meterdlg/CMeterWizardDlg.h"

// Printing.
#include "ui/print/ReadingPrint.h"

namespace mrv {

namespace {

struct Entry {
    ViewCommand command;
    ViewCommandHandler handler; // null: not in this build yet
    const char* name;
};

const Entry kCommands[] = {
    // HHU, Block and meter editing.
    {ViewCommand::Add, OnEditAdd, "Add"},
    {ViewCommand::Modify, OnEditModify, "Modify"},
    {ViewCommand::Delete, OnEditDelete, "Delete"},
    {ViewCommand::Query, OnQuery, "Query"},
    {ViewCommand::MeterAdd, OnMeterAdd, "Meter--Add"},
    {ViewCommand::MeterModify, OnMeterModify, "Meter--Modify"},
    {ViewCommand::MeterDelete, OnMeterDelete, "Delete Meter"},

    // Data-file dialogs and the energy import.
    {ViewCommand::Info, &ShowDataInfo, "Data Exchange Information"},
    {ViewCommand::Para, &ShowDataFileParameters, "View Data File"},
    {ViewCommand::Input, &InputReadings, "Input"},

    // Meter Setting and Reading wizards.
    {ViewCommand::Set, &RunMeterSettingWizard, "Meter Setting wizard"},
    {ViewCommand::Read, &RunReadingWizard, "Reading wizard"},

    // Printing.
    {ViewCommand::Print, OnPrintPreview, "Print preview"},
};

const Entry* Find(ViewCommand command)
{
    for (const Entry& e : kCommands)
        if (e.command == command)
            return &e;
    return nullptr;
}

} // namespace

ViewCommandHandler ViewCommandHandlerFor(ViewCommand command)
{
    const Entry* e = Find(command);
    return e ? e->handler : nullptr;
}

const char* ViewCommandName(ViewCommand command, bool hhuMode)
{
    switch (command) {
    case ViewCommand::Add:
        return hhuMode ? "HHU--Add" : "Block--Add";
    case ViewCommand::Modify:
        return hhuMode ? "HHU--Modify" : "Block--Modify";
    case ViewCommand::Delete:
        return hhuMode ? "Delete HHU" : "Delete Block";
    default:
        break;
    }
    const Entry* e = Find(command);
    return e ? e->name : "";
}

} // namespace mrv
