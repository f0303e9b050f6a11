#include "ui/meterdlg/CMeterLogEdit.h"

#include "ui/app/CJobRunner.h"
#include "ui/app/ShownText.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QScrollBar>

namespace mrv {

namespace {

// A text handed to the log that is one of the engine's fixed lines (headers, results), apart
// from the spaces and line ends around it, is shown translated; values and formatted lines
// are shown as they come.
QString Translated(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].isSpace())
        ++begin;
    while (end > begin && text[end - 1].isSpace())
        --end;
    if (begin == end)
        return text;
    const QByteArray core = text.mid(begin, end - begin).toUtf8();
    return text.left(begin) + QCoreApplication::translate("mrv::MeterLog", core.constData()) +
           text.mid(end);
}

} // namespace

CMeterLogEdit::CMeterLogEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName("log");
    setAccessibleName(tr("log"));
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
    insertPlainText(Translated(ShownText(text)));
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
