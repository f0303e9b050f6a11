#include "ui/view/CFilterEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace mrv {
namespace {

TEST(FilterEdit, TypedCharactersPassByMode)
{
    struct Case {
        int hexMode;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {1, "0129", "0129"}, {1, "aFg", "aF"}, {1, "xyzG", ""},   {1, "1-2 3", "1-2 3"},
        {0, "12F", "12"},    {0, "abc9", "9"}, {0, "4.5", "4.5"},
    };
    for (const Case& c : cases) {
        CFilterEdit edit;
        edit.SetHexMode(c.hexMode);
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text(), c.shown) << c.hexMode << " " << c.typed;
    }
    for (int mode : {0, 1}) {
        CFilterEdit edit;
        edit.SetHexMode(mode);
        QTest::keyClicks(&edit, "12");
        QTest::keyClick(&edit, Qt::Key_Backspace);
        EXPECT_EQ(edit.text(), "1") << mode;
    }
}

TEST(FilterEdit, TypingLimitLeavesAGivenLongerValueWhole)
{
    CFilterEdit edit;
    edit.SetHexMode(0);
    edit.SetTypingLimit(2);
    edit.setText("101");
    EXPECT_EQ(edit.text(), "101");
    QTest::keyClicks(&edit, "7");
    EXPECT_EQ(edit.text(), "101");
    edit.selectAll();
    QTest::keyClicks(&edit, "789");
    EXPECT_EQ(edit.text(), "78");
}

TEST(TwoDigitEdit, RefusedTextsBringTheLastGoodOneBack)
{
    struct Case {
        int kind;
        const char* typed; // typed into an emptied field, one key at a time
        const char* shown;
        const char* lastGood;
    };
    const Case cases[] = {
        {CTwoDigitEdit::Day, "35", "03", "03"},       // 3 -> 03 accepted, 35 refused
        {CTwoDigitEdit::Day, "29", "02", "02"},       // 29 refused
        {CTwoDigitEdit::Day, "28", "28", "28"},       // the largest day
        {CTwoDigitEdit::Day, "3", "3", "03"},         // a single 3 reads as 03
        {CTwoDigitEdit::TableHour, "24", "24", "24"}, // a day table may end at 24
        {CTwoDigitEdit::TableHour, "25", "02", "02"}, {CTwoDigitEdit::Hour, "24", "02", "02"},
        {CTwoDigitEdit::Hour, "23", "23", "23"},      {CTwoDigitEdit::Minute, "59", "59", "59"},
        {CTwoDigitEdit::Minute, "60", "06", "06"},  // 6 reads as 06, 60 is refused
        {CTwoDigitEdit::Minute, "1x2", "12", "12"}, // letters are dropped
    };
    for (const Case& c : cases) {
        CTwoDigitEdit edit;
        edit.SetKind(c.kind);
        edit.SetInitialText("01");
        edit.selectAll();
        QTest::keyClicks(&edit, c.typed);
        EXPECT_EQ(edit.text(), c.shown) << c.kind << " " << c.typed;
        EXPECT_EQ(edit.LastGood(), c.lastGood) << c.kind << " " << c.typed;
    }
}

// A hour field of a day table, its minute field as partner, and another field.
struct Row : QWidget {
    CTwoDigitEdit* hour = new CTwoDigitEdit(this);
    CTwoDigitEdit* minute = new CTwoDigitEdit(this);
    QLineEdit* other = new QLineEdit(this);
    Row()
    {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(hour), static_cast<QWidget*>(minute),
                           static_cast<QWidget*>(other)})
            layout->addWidget(w);
        hour->SetKind(CTwoDigitEdit::TableHour);
        hour->SetPartner(minute);
        minute->SetKind(CTwoDigitEdit::Minute);
        hour->SetInitialText("08");
        minute->SetInitialText("30");
    }
};

TEST(TwoDigitEdit, LeavingAChangeNotifiesUnlessFocusGoesToThePartner)
{
    Row row;
    row.show();
    QApplication::setActiveWindow(&row);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&row));
    QSignalSpy hourLeft(row.hour, &CTwoDigitEdit::ChangeLeft);

    row.hour->setFocus();
    row.other->setFocus(); // no change yet: nothing to tell
    EXPECT_EQ(hourLeft.count(), 0);

    row.hour->setFocus();
    row.hour->selectAll();
    QTest::keyClicks(row.hour, "12");
    row.minute->setFocus(); // the partner: no notification, and the change is spent
    EXPECT_EQ(hourLeft.count(), 0);
    EXPECT_FALSE(row.hour->Changed());

    row.hour->setFocus();
    row.hour->selectAll();
    QTest::keyClicks(row.hour, "13");
    row.other->setFocus();
    ASSERT_EQ(hourLeft.count(), 1);
    EXPECT_EQ(hourLeft[0][0].value<CTwoDigitEdit*>(), row.hour);
}

} // namespace
} // namespace mrv
