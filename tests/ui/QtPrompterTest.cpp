#include "UiTest.h"

#include "ui/app/QtPrompter.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

namespace mrv {
namespace {

using test::Press;
using test::WithModal;

TEST(QtPrompter, FiltersBecomeQtNameFilters)
{
    EXPECT_EQ(QtPrompter::ToQtFilter("database(.db)|*.db *.sqlite *.mdb"),
              "database(.db) (*.db *.sqlite *.mdb)");
    EXPECT_EQ(QtPrompter::ToQtFilter("data file(.dbf)|*.dbf|all|*"),
              "data file(.dbf) (*.dbf);;all (*)");
}

// A chooser that may open an existing file or name a new one says "Open" on its button when
// its title starts so, also when the title comes in the window's language.
TEST(QtPrompter, ChooserTitledOpenSaysOpenInTheWindowsLanguage)
{
    struct Case {
        const char* language; // empty: the texts as written
        const char* title;
        bool opens;
    };
    const Case cases[] = {
        {"", "Open Database", true},
        {"", "Save Trace", false},
        {"zh_CN", "\u6253\u5f00\u6570\u636e\u5e93", true}, // "Open Database" translated
        {"zh_CN", "Open Database", true},
        {"zh_CN", "Export PDF", false},
    };
    QtPrompter prompter;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.language) + " " + c.title);
        const test::InstalledTranslation translation(c.language);
        ASSERT_TRUE(translation.Loaded());
        const QString open = *c.language ? QString::fromUtf8("\u6253\u5f00(&O)") : "&Open";
        QString accept;
        EXPECT_TRUE(
            WithModal([&] { prompter.ChooseSaveFile(c.title, "database(.db)|*.db", {}, ".db"); },
                      [&](QDialog& d) {
                          auto* chooser = qobject_cast<QFileDialog*>(&d);
                          ASSERT_NE(chooser, nullptr);
                          accept = chooser->labelText(QFileDialog::Accept);
                          d.reject();
                      }));
        EXPECT_EQ(accept == open, c.opens) << accept.toStdString();
    }
}

TEST(QtPrompter, MessageBoxShowsTextCaptionIconAndAnswers)
{
    struct Case {
        std::string caption;
        MsgIcon icon;
        MsgButtons buttons;
        int press; // a QDialogButtonBox::StandardButton, or 0 for Escape
        QString shownCaption;
        QMessageBox::Icon shownIcon;
        MsgAnswer answer;
    };
    const Case cases[] = {
        {"Error", MsgIcon::Warning, MsgButtons::Ok, QDialogButtonBox::Ok, "Error",
         QMessageBox::Warning, MsgAnswer::Ok},
        {"", MsgIcon::Question, MsgButtons::YesNo, QDialogButtonBox::Yes, "mrv003e",
         QMessageBox::Question, MsgAnswer::Yes},
        {"Download Path", MsgIcon::Warning, MsgButtons::YesNo, 0, "Download Path",
         QMessageBox::Warning, MsgAnswer::No},
        {"error", MsgIcon::Error, MsgButtons::RetryCancel, QDialogButtonBox::Retry, "error",
         QMessageBox::Critical, MsgAnswer::Retry},
    };
    QtPrompter prompter;
    for (const Case& c : cases) {
        QString text, caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        MsgAnswer answer = MsgAnswer::Cancel;
        EXPECT_TRUE(WithModal(
            [&] {
                answer =
                    prompter.Message("No Download Path!\nCreate?", c.caption, c.icon, c.buttons);
            },
            [&](QDialog& d) {
                auto* box = qobject_cast<QMessageBox*>(&d);
                ASSERT_NE(box, nullptr);
                text = box->text();
                caption = box->windowTitle();
                icon = box->icon();
                if (c.press)
                    Press(d, QDialogButtonBox::StandardButton(c.press));
                else
                    QTest::keyClick(box, Qt::Key_Escape);
            }));
        EXPECT_EQ(text, "No Download Path!\nCreate?");
        EXPECT_EQ(caption, c.shownCaption);
        EXPECT_EQ(icon, c.shownIcon);
        EXPECT_EQ(answer, c.answer) << c.caption;
    }
}

} // namespace
} // namespace mrv
