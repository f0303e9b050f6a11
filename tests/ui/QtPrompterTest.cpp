#include "UiTest.h"

#include "ui/app/QtPrompter.h"

#include <gtest/gtest.h>

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
