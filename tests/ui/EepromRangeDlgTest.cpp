#include "UiTest.h"

#include "ui/meterdlg/CCommSettingDlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

namespace mrv {
namespace {

using test::Press;
using test::WithModal;

TEST(EepromRangeDlg, ShowsTheGivenRangeAndReturnsWhatIsTypedOnlyOnOk)
{
    for (auto button : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel}) {
        CEepromRangeDlg dlg;
        dlg.m_start = "00";
        dlg.m_end = "ff";
        QString shownStart, shownEnd;
        EXPECT_TRUE(WithModal([&] { dlg.exec(); },
                              [&](QDialog& d) {
                                  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("检测EEPROM:"));
                                  shownStart = dlg.StartEdit()->text();
                                  shownEnd = dlg.EndEdit()->text();
                                  dlg.StartEdit()->selectAll();
                                  QTest::keyClicks(dlg.StartEdit(), "1a");
                                  dlg.EndEdit()->selectAll();
                                  QTest::keyClicks(dlg.EndEdit(), "3f0");
                                  Press(d, button);
                              }));
        EXPECT_EQ(shownStart, "00");
        EXPECT_EQ(shownEnd, "ff");
        const bool ok = button == QDialogButtonBox::Ok;
        EXPECT_EQ(dlg.m_start, ok ? "1a" : "00");
        EXPECT_EQ(dlg.m_end, ok ? "3f0" : "ff"); // the reader takes the first two characters
    }
}

} // namespace
} // namespace mrv
