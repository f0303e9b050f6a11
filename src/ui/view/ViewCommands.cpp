// The table of the view's commands. Each command's handler lives with its dialogs; to plug one
// in, include its header in the group below and put the function into its line of the table.
#include "ui/view/ViewCommands.h"

#include <QCoreApplication>

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
    {ViewCommand::Add, OnEditAdd, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Add")},
    {ViewCommand::Modify, OnEditModify, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Modify")},
    {ViewCommand::Delete, OnEditDelete, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Delete")},
    {ViewCommand::Query, OnQuery, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Query")},
    {ViewCommand::MeterAdd, OnMeterAdd, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Meter--Add")},
    {ViewCommand::MeterModify, OnMeterModify,
     QT_TRANSLATE_NOOP("mrv::ViewCommands", "Meter--Modify")},
    {ViewCommand::MeterDelete, OnMeterDelete,
     QT_TRANSLATE_NOOP("mrv::ViewCommands", "Delete Meter")},

    // Data-file dialogs and the energy import.
    {ViewCommand::Info, &ShowDataInfo,
     QT_TRANSLATE_NOOP("mrv::ViewCommands", "Data Exchange Information")},
    {ViewCommand::Para, &ShowDataFileParameters,
     QT_TRANSLATE_NOOP("mrv::ViewCommands", "View Data File")},
    {ViewCommand::Input, &InputReadings, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Input")},

    // Meter Setting and Reading wizards.
    {ViewCommand::Set, &RunMeterSettingWizard,
     QT_TRANSLATE_NOOP("mrv::ViewCommands", "Meter Setting wizard")},
    {ViewCommand::Read, &RunReadingWizard,
     QT_TRANSLATE_NOOP("mrv::ViewCommands", "Reading wizard")},

    // Printing.
    {ViewCommand::Print, OnPrintPreview, QT_TRANSLATE_NOOP("mrv::ViewCommands", "Print preview")},
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

QString ViewCommandName(ViewCommand command, bool hhuMode)
{
    const char* name = nullptr;
    switch (command) {
    case ViewCommand::Add:
        name = hhuMode ? QT_TRANSLATE_NOOP("mrv::ViewCommands", "HHU--Add")
                       : QT_TRANSLATE_NOOP("mrv::ViewCommands", "Block--Add");
        break;
    case ViewCommand::Modify:
        name = hhuMode ? QT_TRANSLATE_NOOP("mrv::ViewCommands", "HHU--Modify")
                       : QT_TRANSLATE_NOOP("mrv::ViewCommands", "Block--Modify");
        break;
    case ViewCommand::Delete:
        name = hhuMode ? QT_TRANSLATE_NOOP("mrv::ViewCommands", "Delete HHU")
                       : QT_TRANSLATE_NOOP("mrv::ViewCommands", "Delete Block");
        break;
    default: {
        const Entry* e = Find(command);
        name = e ? e->name : nullptr;
        break;
    }
    }
    return name ? QCoreApplication::translate("mrv::ViewCommands", name) : QString();
}

} // namespace mrv
