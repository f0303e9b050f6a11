#pragma once
// Edit fields that filter what is typed: CFilterEdit lets decimal or hexadecimal digits
// through; CTwoDigitEdit keeps a two-digit day, hour or minute within its bound and tells its
// parent when an accepted change is left.
#include <QLineEdit>

namespace mrv {

class CFilterEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CFilterEdit(QWidget* parent = nullptr);
    void SetHexMode(int hexMode) { m_hexMode = hexMode ? 1 : 0; }
    int HexMode() const { return m_hexMode; }
    // Most characters the user may type (0: no limit). Unlike a maximum length it does not
    // cut a longer value that the field is given to show, so a stored 101 shows as 101.
    void SetTypingLimit(int chars) { m_typingLimit = chars; }

    // Whether a typed character passes in the given mode (letters other than the digits of
    // the mode are dropped; everything that is not a letter or digit passes).
    static bool Passes(QChar c, int hexMode);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_hexMode = 1;
    int m_typingLimit = 0;
};

class CTwoDigitEdit : public QLineEdit {
    Q_OBJECT
public:
    // Upper bounds: 1 day (28), 2 hour of a day table (24), 3 minute (59), 4 hour (23).
    enum Kind { Day = 1, TableHour = 2, Minute = 3, Hour = 4 };

    explicit CTwoDigitEdit(QWidget* parent = nullptr);

    void SetPartner(QWidget* partner) { m_partner = partner; }
    void SetKind(int kind) { m_limitKind = kind; }
    int Kind() const { return m_limitKind; }
    // Sets the text without counting it as a change and makes it the last good text.
    void SetInitialText(const QString& text);
    QString LastGood() const { return m_lastGood; }
    bool Changed() const { return m_changed != 0; }

    // The two characters a text stands for: "" -> "00", "c" -> "0c", else the first two.
    static QString TwoChars(const QString& text);
    static bool Refused(int kind, const QString& two);

signals:
    // An accepted change was left for a widget other than the partner.
    void ChangeLeft(CTwoDigitEdit* edit);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void OnTextChanged(const QString& text);

    QWidget* m_partner = nullptr;
    int m_limitKind = 2;
    int m_changed = 0;
    QString m_lastGood = "00";
};

} // namespace mrv
