#include "ui/meterdlg/CMeterLogEdit.h"

#include "ui/app/CJobRunner.h"
#include "ui/app/ShownText.h"

#include <QFontDatabase>
#include <QScrollBar>

namespace mrv {

namespace {

// The fixed lines the meter engine writes to the log (headers, results), marked for the
// translator. A text handed to the log that is one of them, apart from the spaces and line
// ends around it, is shown translated; values and formatted lines are shown as they come.
[[maybe_unused]] const char* const kEngineLines[] = {
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Fail!"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "OK!"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Unknown"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show active energy"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show current"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show export energy"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show import energy"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show power factor"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show reactive energy"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show total energy"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "--show voltage"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "After Modify:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Before Modify:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Change Password"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Clear Energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Clear History:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Control Owing:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Date(YY/MM/DD):"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Forbid"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Initial:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Permit"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "R Carrier Module Address:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "R L3 Three Phase Meter No-Voltage Event:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "R Meter ID:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "R Reserve Times and Energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "R Tarrif Price:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Constant:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Day Table1:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Day Table2:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read EEPRPM:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read No-load Current and No-load Time:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Owing Current and Owing Time:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read PP Reactive k:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Password Priority:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Pre Reactive k:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Press Key Show Mode:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Pulse Prescaler:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Reactive K:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Relay Status:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Reset Date(DD:HH):"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Time"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Trim Value:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Version:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read Year Table:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Read current Save Energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "System(HH:MM:SS):"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Time(HH:MM:SS):"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "W Money:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "W Priority"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "W Relay Status:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Carrier Module Address:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Constant:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Key Show Mode:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Owing Current and Time:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Priority:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Pulse Prescaler:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Reset Date:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Tarif1:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Tarif2:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Time:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Trim Value:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write Year Tarif:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write address"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write inormal,ihigh,ilow:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "Write vnormal,vhigh,vlow:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read A phase power factor:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read B phase power factor:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read C phase power factor:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read active power:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read address"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read current:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read export energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read frequecy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read import energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read power factor:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read reactive power:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read show mode:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read total energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read total power factor:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read trip energy:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "read voltage:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "write baudrate:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "write show mode:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "写多费率价格表:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "写密码表:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "写欠费功率:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "写欠费时间:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "写表类型:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "读 所有变量:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "读密码表1:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "读密码表2:"),
    QT_TRANSLATE_NOOP("mrv::CMeterLogEdit", "读欠费时间:"),
};

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
    return text.left(begin) + CMeterLogEdit::tr(core.constData()) + text.mid(end);
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
