#include "ui/view/CFilterEdit.h"

#include <QApplication>
#include <QKeyEvent>

namespace mrv {

CFilterEdit::CFilterEdit(QWidget* parent) : QLineEdit(parent) {}

bool CFilterEdit::Passes(QChar c, int hexMode)
{
    if (!c.isLetterOrNumber())
        return true;
    if (c >= '0' && c <= '9')
        return true;
    return hexMode && ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'));
}

void CFilterEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    for (QChar c : text) {
        if (!Passes(c, m_hexMode)) {
            event->accept();
            return;
        }
    }
    if (m_typingLimit > 0 && !text.isEmpty() && text[0].isPrint()) {
        const qsizetype after = this->text().size() - selectedText().size() + text.size();
        if (after > m_typingLimit) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

CTwoDigitEdit::CTwoDigitEdit(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, &CTwoDigitEdit::OnTextChanged);
}

void CTwoDigitEdit::SetInitialText(const QString& text)
{
    const QSignalBlocker block(this);
    setText(text);
    m_lastGood = TwoChars(text);
    m_changed = 0;
}

QString CTwoDigitEdit::TwoChars(const QString& text)
{
    const QString t = text.left(4);
    if (t.isEmpty())
        return "00";
    if (t.size() == 1)
        return QString("0") + t[0];
    return t.left(2);
}

bool CTwoDigitEdit::Refused(int kind, const QString& two)
{
    const QChar a = two[0], b = two[1];
    switch (kind) {
    case Day:
        return a > '2' || (a == '2' && b >= '9');
    case TableHour:
        return a > '2' || (a == '2' && b >= '5');
    case Minute:
        return a >= '6';
    case Hour:
        return a > '2' || (a == '2' && b >= '4');
    default:
        return false;
    }
}

void CTwoDigitEdit::keyPressEvent(QKeyEvent* event)
{
    for (QChar c : event->text()) {
        if (c.isLetter()) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void CTwoDigitEdit::OnTextChanged(const QString& text)
{
    const QString two = TwoChars(text);
    if (Refused(m_limitKind, two)) {
        // Put the last good text back without treating the restore as a new change.
        const QSignalBlocker block(this);
        setText(m_lastGood);
        return;
    }
    m_lastGood = two;
    m_changed = 1;
}

void CTwoDigitEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_changed)
        return;
    m_changed = 0;
    // Qt has already moved the focus when the old widget hears of it.
    QWidget* next = QApplication::focusWidget();
    if (m_partner == nullptr || next != m_partner)
        emit ChangeLeft(this);
}

} // namespace mrv
