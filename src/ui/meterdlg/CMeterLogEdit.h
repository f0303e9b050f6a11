#pragma once
// The log window of the meter dialogs: read-only, in a fixed font (values and the tables of
// the block reads are laid out in columns), selectable and copied with the keyboard, and it
// follows new lines unless the user scrolled back to read. A run on a worker hands its lines
// over through the dialog's job runner.
#include "link/MeterLink.h"

#include <QPlainTextEdit>

namespace mrv {

class CJobRunner;

class CMeterLogEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CMeterLogEdit(QWidget* parent = nullptr);

    // Appends the text at the end (the engine's CR LF shown as line breaks; a fixed line of
    // the engine, such as a read's header, in the user's language).
    void AppendLog(const std::string& text);

    // A sink for a MeterLink whose operations run on the runner's worker: each text is
    // appended on the UI thread, in order.
    LogSink PostingSink(CJobRunner& runner);
};

} // namespace mrv
