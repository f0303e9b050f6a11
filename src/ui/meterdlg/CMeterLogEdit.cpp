#include "ui/meterdlg/CMeterLogEdit.h"

#include "ui/app/CJobRunner.h"
#include "ui/app/ShownText.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QScrollBar>

namespace mrv {

namespace {

QString LogText(const QString& source)
{
    return QCoreApplication::translate("mrv::MeterLog", source.toUtf8().constData());
}

// One line of the log in the user's language: one of the engine's fixed lines (headers,
// results) whole, apart from the spaces around it, or the label before the first colon of a
// line with values ("Soft: 12"); the values as they come.
QString TranslatedLine(const QString& line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin].isSpace())
        ++begin;
    while (end > begin && line[end - 1].isSpace())
        --end;
    if (begin == end)
        return line;
    const QString core = line.mid(begin, end - begin);
    QString shown = LogText(core);
    if (shown == core) {
        if (const qsizetype colon = core.indexOf(':'); colon > 0)
            shown = LogText(core.left(colon + 1)) + core.mid(colon + 1);
    }
    return line.left(begin) + shown + line.mid(end);
}

QString Translated(const QString& text)
{
    QStringList lines = text.split('\n');
    for (QString& line : lines)
        line = TranslatedLine(line);
    return lines.join('\n');
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
