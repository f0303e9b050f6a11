#pragma once
// Helpers of the widget tests: answering a modal dialog that a command opens, pressing the
// buttons of a dialog's button box.
#include <QDialog>
#include <QDialogButtonBox>
#include <QPoint>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QTranslator>

#include <functional>
#include <ostream>

// Failed expectations print Qt texts as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QPoint& p, std::ostream* os)
{
    *os << "(" << p.x() << ", " << p.y() << ")";
}

inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace mrv::test {

// Calls `act` with the modal dialog that opens next (while `open` runs and waits in its
// dialog's event loop). A dialog that `act` leaves open is rejected so a test cannot hang.
// false when no modal dialog appeared before `open` returned; a test failure when `open` ran
// on for half a minute without showing one.
bool WithModal(const std::function<void()>& open, const std::function<void(QDialog&)>& act);

// Runs `run` (a dialog's run, which returns when it has ended while the event loop goes on)
// and calls `act` once, the first time `ready` holds during it (looked at every 10 ms).
// false when `act` never ran.
bool OnceDuringRun(const std::function<void()>& run, const std::function<bool()>& ready,
                   const std::function<void()>& act);

// Clicks the given button of the dialog's button box with the mouse.
void Press(QDialog& dialog, QDialogButtonBox::StandardButton which);

// The program's translation of `language` ("zh_CN", "en"; empty for none, the texts as
// written) installed while it lives, as the window installs it. Made before a window, whose
// texts are translated as it is built.
class InstalledTranslation {
public:
    explicit InstalledTranslation(const QString& language);
    ~InstalledTranslation();
    InstalledTranslation(const InstalledTranslation&) = delete;
    InstalledTranslation& operator=(const InstalledTranslation&) = delete;
    // false when the language was named and its translation is not in the program.
    bool Loaded() const { return m_loaded; }

private:
    QTranslator m_translator;
    bool m_installed = false;
    bool m_loaded = false;
};

// Whether the text has a Chinese character.
bool HasChinese(const QString& text);

} // namespace mrv::test
