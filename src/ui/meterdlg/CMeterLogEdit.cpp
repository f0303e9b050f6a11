#include "ui/meterdlg/CMeterLogEdit.h"

#include "ui/app/CJobRunner.h"
#include "ui/app/ShownText.h"

#include <QFontDatabase>
#include <QScrollBar>

namespace mrv {

CMeterLogEdit::CMeterLogEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName("log");
    setAccessibleName("log");
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMinimumWidth(300);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Selected and copied (Ctrl+C) after a click; Tab passes it by, and Enter, which it does
    // not take, still reaches the dialog's default button.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::ClickFocus);
}

void CMeterLogEdit::AppendLog(const std::string& text)
{
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    moveCursor(QTextCursor::End);
    insertPlainText(ShownText(text));
    // Follow the new lines unless the user scrolled back to read.
    if (atEnd)
        bar->setValue(bar->maximum());
}

LogSink CMeterLogEdit::PostingSink(CJobRunner& runner)
{
    return [this, &runner](const std::string& text) {
        runner.Post([this, text] { AppendLog(text); });
    };
}

} // namespace mrv
