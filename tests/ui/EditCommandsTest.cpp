// The commands that edit the installation, run from the main view on a real SQLite
// installation with their real dialogs: HHUs, Blocks, batches of meters, one meter, Query.
#include "UiTest.h"
#include "ViewFixture.h"

#include "db/DatabaseBackend.h"
#include "doc/CMrvDoc.h"
#include "doc/ServerDatabaseForm.h"
#include "support/TestDatabase.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mrv {
namespace {

using test::BlockSpec;
using test::Rows;
using ::testing::HasSubstr;
using V = CMrvView;

// Three HHUs (the last without Blocks); Blocks 40 and 41 both hold a meter "05".
const std::vector<HhuRecord> kHhus = {{3, "North"}, {5, "South"}, {9, "Spare"}};
const std::vector<BlockSpec> kBlocks = {
    {40, "Garden", 3, 0x3200, 6}, {41, "Mill", 3, 0x1600, 6}, {50, "Far", 5, 0x123456, 1}};

// A quote and Chinese characters: what every text field must store and show as typed.
const QString kOddText = QString::fromUtf8("O'Neil \"北区\"");

class EditCommandsTest : public test::MainWindowTest {
protected:
    test::TestDatabase db{test::Engine::Sqlite, "install"};

    CMarkListBox* Box(int id) { return View().ListBox(id); }
    CRecordListCtrl* List(int id) { return View().ListCtrl(id); }

    void OpenDatabase(const std::vector<HhuRecord>& hhus = kHhus,
                      const std::vector<BlockSpec>& blocks = kBlocks)
    {
        test::MakeInstallation(db.Name(), prompter, hhus, blocks);
        prompter.choices = {db.Name()};
        Frame().Action("OpenDatabase")->trigger();
        ASSERT_EQ(Doc().IsDatabaseOpen(), 1);
        prompter.messages.clear();
    }
    // Runs command `id` as its button or menu entry does and hands the dialog it opens to
    // `act`; the dialog's title, empty when none opened.
    QString Run(
        int id, const std::function<void(QDialog&)>& act = [](QDialog&) {})
    {
        QString title;
        test::WithModal([&] { View().OnCommand(id); },
                        [&](QDialog& d) {
                            title = d.windowTitle();
                            act(d);
                        });
        return title;
    }
    static QLineEdit* Field(QDialog& d, const char* name)
    {
        auto* e = d.findChild<QLineEdit*>(name);
        EXPECT_NE(e, nullptr) << name;
        return e;
    }
    static QPushButton* PushButton(QDialog& d, const char* name)
    {
        auto* b = d.findChild<QPushButton*>(name);
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    // Replaces the field's text by typing `text` key by key, as the user does (also the
    // characters QTest::keyClicks cannot send).
    static void Type(QLineEdit* e, const QString& text)
    {
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &release);
        }
    }
    static void Ok(QDialog& d) { test::Press(d, QDialogButtonBox::Ok); }
    Rows Hhus() { return db.Query("select land_id, description from land order by land_id"); }
    Rows Blocks()
    {
        return db.Query("select district_id, district_name, land_id, district_para from district "
                        "order by district_id");
    }
    Rows Meters(const std::string& where = "1 = 1")
    {
        return db.Query("select meter_num, property_num, meter_address, district_id from meter "
                        "where " +
                        where + " order by rowid");
    }
    QString Cell(int id, int row, int column)
    {
        return List(id)->model()->index(row, column).data().toString();
    }
    bool Drawn(const QString& text)
    {
        for (const auto& t : View().DrawnTexts())
            if (t.text == text)
                return true;
        return false;
    }
    static void ClickRow(QAbstractItemView* list, int row)
    {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
    int Visible(int id) { return View().ListCtrl(id)->isVisible(); }
};

TEST_F(EditCommandsTest, HhusAreAddedModifiedAndDeleted)
{
    OpenDatabase();
    Frame().Action("HhuSetting")->trigger();
    const Rows before = Hhus();

    // An id of 0 keeps the dialog open with the range; the next id is offered.
    EXPECT_EQ(Run(V::IdAdd,
                  [&](QDialog& d) {
                      EXPECT_EQ(Field(d, "hhuId")->text(), "10");
                      EXPECT_EQ(Field(d, "hhuDescription")->text(), "xxx");
                      EXPECT_FALSE(Field(d, "hhuId")->isReadOnly());
                      Type(Field(d, "hhuId"), "0");
                      Ok(d);
                      EXPECT_TRUE(d.isVisible());
                      EXPECT_EQ(d.focusWidget(), Field(d, "hhuId"));
                      Type(Field(d, "hhuId"), "12");
                      Type(Field(d, "hhuDescription"), "Depot");
                      Ok(d);
                  }),
              "HHU--Add");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "HHU ID must be an integer from 1 to 9999.");
    EXPECT_EQ(prompter.messages[0].caption, "");
    Rows expected = before;
    expected.push_back({"12", "Depot"});
    EXPECT_EQ(Hhus(), expected);
    // Listed and selected, with its (empty) Block list.
    EXPECT_EQ(Box(V::IdHhuList)->GetCount(), 4);
    EXPECT_EQ(Box(V::IdHhuList)->GetCurSel(), 3);
    EXPECT_EQ(List(V::IdHhuBlocks)->CurrentKey(), 12);
    EXPECT_TRUE(Drawn("HHU ID: 0012"));

    // An id in use keeps the dialog open with what was typed.
    prompter.messages.clear();
    Run(V::IdAdd, [&](QDialog& d) {
        Type(Field(d, "hhuId"), "3");
        Type(Field(d, "hhuDescription"), "Twin");
        Ok(d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Field(d, "hhuDescription")->text(), "Twin");
        EXPECT_EQ(d.focusWidget(), Field(d, "hhuId"));
        test::Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"HHU ID 0003 is already in use."}));
    // One that another user took meanwhile is refused by the database; its HHU stays.
    prompter.messages.clear();
    db.Query("insert into land (land_id, description) values (14, 'Other desk')");
    Run(V::IdAdd, [&](QDialog& d) {
        Type(Field(d, "hhuId"), "14");
        Type(Field(d, "hhuDescription"), "Twin");
        Ok(d);
    });
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(Hhus().back(), (std::vector<std::string>{"14", "Other desk"}));
    EXPECT_EQ(Doc().Hhus().size(), 4u);
    db.Query("delete from land where land_id = 14");
    EXPECT_EQ(Hhus(), expected);

    // Modify: the id stays, the description changes in the database and on screen.
    ClickRow(Box(V::IdHhuList), 1);
    EXPECT_EQ(Run(V::IdModify,
                  [&](QDialog& d) {
                      EXPECT_EQ(Field(d, "hhuId")->text(), "5");
                      EXPECT_TRUE(Field(d, "hhuId")->isReadOnly());
                      EXPECT_EQ(Field(d, "hhuDescription")->text(), "South");
                      Type(Field(d, "hhuDescription"), "South gate");
                      Ok(d);
                  }),
              "HHU--Modify");
    EXPECT_EQ(Hhus().at(1), (std::vector<std::string>{"5", "South gate"}));
    EXPECT_EQ(Doc().Hhus()[1].description, "South gate");
    EXPECT_TRUE(Drawn("HHU Description: South gate"));
    // Cancel changes nothing.
    Run(V::IdModify, [&](QDialog& d) {
        Type(Field(d, "hhuDescription"), "never");
        test::Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Hhus().at(1), (std::vector<std::string>{"5", "South gate"}));

    // Delete never asks; the next HHU takes the place, the last when it was the last.
    ClickRow(Box(V::IdHhuList), 3);
    prompter.messages.clear();
    EXPECT_EQ(Run(V::IdDelete), "");
    EXPECT_TRUE(prompter.messages.empty());
    expected = {{"3", "North"}, {"5", "South gate"}, {"9", "Spare"}};
    EXPECT_EQ(Hhus(), expected);
    EXPECT_EQ(Box(V::IdHhuList)->GetCurSel(), 2);
    EXPECT_EQ(List(V::IdHhuBlocks)->CurrentKey(), 9);
    // The Blocks of a deleted HHU are not touched.
    ClickRow(Box(V::IdHhuList), 1);
    Run(V::IdDelete);
    EXPECT_EQ(Box(V::IdHhuList)->GetCurSel(), 1);
    EXPECT_EQ(List(V::IdHhuBlocks)->CurrentKey(), 9);
    EXPECT_EQ(Blocks().size(), 3u);
}

TEST_F(EditCommandsTest, BlocksAreAddedModifiedAndDeletedWithTheirMeters)
{
    OpenDatabase();
    ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    Doc().SetDataChanged(0);

    EXPECT_EQ(Run(V::IdAdd,
                  [&](QDialog& d) {
                      EXPECT_EQ(Field(d, "blockId")->text(), "51");
                      EXPECT_EQ(Field(d, "blockName")->text(), "xxx");
                      // The constant of the data-file parameters, 3200 imp/kWh.
                      EXPECT_EQ(Field(d, "blockConstant")->text(), "003200");
                      auto* hhu = d.findChild<QComboBox*>("blockHhu");
                      ASSERT_NE(hhu, nullptr);
                      EXPECT_EQ(hhu->count(), 3);
                      EXPECT_EQ(hhu->itemText(2), "0009");
                      EXPECT_EQ(hhu->currentText(), "0003"); // the HHU whose Blocks HHU mode lists
                      Type(Field(d, "blockId"), "0");
                      Ok(d);
                      EXPECT_TRUE(d.isVisible());
                      Type(Field(d, "blockId"), "60");
                      Type(Field(d, "blockName"), "Yard");
                      hhu->setCurrentIndex(1);
                      Type(Field(d, "blockConstant"), "003200");
                      Ok(d);
                  }),
              "Block--Add");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Block ID must be an integer from 1 to 9999.");
    EXPECT_EQ(Blocks().back(), (std::vector<std::string>{"60", "Yard", "5", "12800"}));
    EXPECT_EQ(Doc().GetDataChanged(), 1);
    EXPECT_EQ(Box(V::IdBlockList)->GetCurSel(), 3);
    EXPECT_EQ(List(V::IdMeters)->CurrentKey(), 60);
    EXPECT_TRUE(Drawn("Block ID: 0060"));

    // A typed constant below 100 or from 100000 up is refused by name and range, and the
    // dialog stays; one in range is stored.
    prompter.messages.clear();
    EXPECT_EQ(Run(V::IdModify,
                  [&](QDialog& d) {
                      EXPECT_TRUE(Field(d, "blockId")->isReadOnly());
                      for (const char* text : {"99", "100000", ""}) {
                          Type(Field(d, "blockConstant"), text);
                          Ok(d);
                          EXPECT_TRUE(d.isVisible()) << text;
                          EXPECT_EQ(d.focusWidget(), Field(d, "blockConstant"));
                      }
                      Type(Field(d, "blockConstant"), "1600");
                      Ok(d);
                  }),
              "Block--Modify");
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>(3, "Constant must be a number from 100 to 99999."));
    EXPECT_EQ(Blocks().back().at(3), "5632");
    // One read from the database out of range, left as shown, gets the range rule's 100.
    ClickRow(Box(V::IdBlockList), 2); // Block 50, constant 123456
    Run(V::IdModify, [&](QDialog& d) {
        EXPECT_EQ(Field(d, "blockConstant")->text(), "123456");
        Ok(d);
    });
    EXPECT_EQ(Blocks().at(2).at(3), "256");
    ClickRow(Box(V::IdBlockList), 3);
    Run(V::IdModify, [&](QDialog& d) {
        Type(Field(d, "blockConstant"), "3200");
        Ok(d);
    });
    EXPECT_EQ(Blocks().back().at(3), "12800");
    // Modify shows the stored constant and HHU, and takes another HHU and name.
    Doc().SetDataChanged(0);
    Run(V::IdModify, [&](QDialog& d) {
        EXPECT_EQ(Field(d, "blockConstant")->text(), "003200");
        auto* hhu = d.findChild<QComboBox*>("blockHhu");
        EXPECT_EQ(hhu->currentText(), "0005");
        hhu->setCurrentIndex(2);
        Type(Field(d, "blockName"), "Yard two");
        Ok(d);
    });
    EXPECT_EQ(Blocks().back(), (std::vector<std::string>{"60", "Yard two", "9", "12800"}));
    EXPECT_EQ(Doc().Blocks()[3].district_name, "Yard two");
    EXPECT_EQ(Doc().GetDataChanged(), 1);
    EXPECT_EQ(Box(V::IdBlockList)->model()->index(3, 0).data().toString(), "Yard two");

    // An id in use keeps the dialog open; one that another user took meanwhile is refused
    // by the database. The Blocks already there stay.
    prompter.messages.clear();
    Run(V::IdAdd, [&](QDialog& d) {
        Type(Field(d, "blockId"), "40");
        Ok(d);
        EXPECT_TRUE(d.isVisible());
        test::Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"Block ID 0040 is already in use."}));
    prompter.messages.clear();
    db.Query("insert into district (district_id, district_name, land_id, district_para) "
             "values (70, 'Other desk', 5, 4096)");
    Run(V::IdAdd, [&](QDialog& d) {
        Type(Field(d, "blockId"), "70");
        Ok(d);
    });
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(Blocks().at(0), (std::vector<std::string>{"40", "Garden", "3", "12800"}));
    EXPECT_EQ(Blocks().back(), (std::vector<std::string>{"70", "Other desk", "5", "4096"}));
    EXPECT_EQ(Doc().Blocks().size(), 4u);
    db.Query("delete from district where district_id = 70");

    // Delete asks first; "No" changes nothing.
    ClickRow(Box(V::IdBlockList), 0);
    prompter.messages.clear();
    prompter.answers = {MsgAnswer::No};
    Doc().SetDataChanged(0);
    EXPECT_EQ(Run(V::IdDelete), "");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Should delete all meter belong to this block!\nContinue?");
    EXPECT_EQ(prompter.messages[0].caption, "");
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Blocks().size(), 4u);
    EXPECT_EQ(Meters("district_id = 40").size(), 6u);
    EXPECT_EQ(Doc().GetDataChanged(), 0);
    // "Yes": its meters go, then the Block; the next Block takes its place.
    prompter.answers = {MsgAnswer::Yes};
    Run(V::IdDelete);
    EXPECT_TRUE(Meters("district_id = 40").empty());
    EXPECT_EQ(Meters().size(), 7u); // the other Blocks' meters stay
    EXPECT_EQ(Blocks().at(0).at(0), "41");
    EXPECT_EQ(Box(V::IdBlockList)->GetCurSel(), 0);
    EXPECT_EQ(List(V::IdMeters)->CurrentKey(), 41);
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 6);
    EXPECT_EQ(Doc().GetDataChanged(), 1);
}

TEST_F(EditCommandsTest, AnEmptyInstallationGrowsAndShrinksWithItsPanes)
{
    OpenDatabase({}, {});
    // No Block without an HHU to serve it.
    EXPECT_EQ(Run(V::IdAdd), "");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Please Set HHU First!");
    EXPECT_EQ(prompter.messages[0].caption, "");

    Frame().Action("HhuSetting")->trigger();
    EXPECT_FALSE(Visible(V::IdHhuBlocks));
    Run(V::IdAdd, [&](QDialog& d) {
        EXPECT_EQ(Field(d, "hhuId")->text(), "1");
        Ok(d);
    });
    EXPECT_TRUE(Visible(V::IdHhuBlocks)); // the first HHU brings the right pane
    EXPECT_EQ(Hhus(), (Rows{{"1", "xxx"}}));

    Frame().Action("MeterSetting")->trigger();
    EXPECT_FALSE(Visible(V::IdMeters));
    EXPECT_FALSE(View().Button(V::IdMeterAdd)->isVisible());
    Run(V::IdAdd, [&](QDialog& d) {
        EXPECT_EQ(d.findChild<QComboBox*>("blockHhu")->currentText(), "0001");
        Ok(d);
    });
    EXPECT_TRUE(Visible(V::IdMeters));
    EXPECT_TRUE(View().Button(V::IdMeterAdd)->isVisible());
    EXPECT_EQ(Blocks(), (Rows{{"1", "xxx", "1", "12800"}}));

    prompter.answers = {MsgAnswer::Yes};
    Run(V::IdDelete);
    EXPECT_TRUE(Blocks().empty());
    EXPECT_FALSE(Visible(V::IdMeters));
    EXPECT_FALSE(View().Button(V::IdMeterAdd)->isVisible());
    EXPECT_TRUE(Drawn("No Block!"));
    // Meters have no Block to go to now.
    EXPECT_EQ(Run(V::IdMeterAdd), "");

    Frame().Action("HhuSetting")->trigger();
    Run(V::IdDelete);
    EXPECT_TRUE(Hhus().empty());
    EXPECT_FALSE(Visible(V::IdHhuBlocks));
    EXPECT_TRUE(Drawn("No HHU!"));
}

TEST_F(EditCommandsTest, MeterAddNumbersTheBatchAsTheFieldsChange)
{
    OpenDatabase();
    const Rows before = Meters();
    EXPECT_EQ(Run(V::IdMeterAdd,
                  [&](QDialog& d) {
                      EXPECT_EQ(Field(d, "idFrom")->text(), "00");
                      EXPECT_EQ(Field(d, "id2Prefix")->text(), "xx");
                      EXPECT_EQ(Field(d, "id2Number")->text(), "00");
                      EXPECT_EQ(Field(d, "meterCount")->text(), "1");
                      EXPECT_EQ(Field(d, "meterAddBlockId")->text(), "0040");
                      EXPECT_EQ(Field(d, "meterIdPreview")->text(), "00");
                      EXPECT_EQ(Field(d, "meterId2Preview")->text(), "xx00");
                      EXPECT_EQ(Field(d, "userAddr")->text(), "xxx");
                      QPushButton* previous = PushButton(d, "previousMeter");
                      QPushButton* next = PushButton(d, "nextMeter");
                      // A count of 1: nowhere to go.
                      EXPECT_FALSE(previous->isEnabled());
                      EXPECT_FALSE(next->isEnabled());
                      Type(Field(d, "meterCount"), "3");
                      EXPECT_FALSE(previous->isEnabled());
                      EXPECT_TRUE(next->isEnabled());
                      Type(Field(d, "userAddr"), "first");
                      QTest::mouseClick(next, Qt::LeftButton);
                      EXPECT_TRUE(previous->isEnabled());
                      EXPECT_TRUE(next->isEnabled());
                      EXPECT_EQ(Field(d, "userAddr")->text(), "xxx");
                      EXPECT_EQ(Field(d, "meterIdPreview")->text(), "01");
                      EXPECT_EQ(Field(d, "meterId2Preview")->text(), "xx01");
                      QTest::mouseClick(next, Qt::LeftButton);
                      EXPECT_TRUE(previous->isEnabled());
                      EXPECT_FALSE(next->isEnabled());
                      QTest::mouseClick(previous, Qt::LeftButton);
                      QTest::mouseClick(previous, Qt::LeftButton);
                      EXPECT_EQ(Field(d, "userAddr")->text(), "first");

                      // Out of range: said at once, the count stays.
                      Type(Field(d, "meterCount"), "0");
                      Type(Field(d, "meterCount"), "101");
                      // The field shows the count the buttons go by, not the refused one.
                      EXPECT_EQ(Field(d, "meterCount")->text(), "10");
                      Type(Field(d, "meterCount"), "3");

                      // The prefix takes part of the 12 characters of an ID2.
                      Type(Field(d, "id2Number"), "1234567890");
                      EXPECT_EQ(Field(d, "id2Number")->text(), "1234567890");
                      EXPECT_EQ(Field(d, "meterId2Preview")->text(), "xx1234567890");
                      auto* note = d.findChild<QLabel*>("id2Note");
                      EXPECT_EQ(note->text(), "");
                      Type(Field(d, "id2Prefix"), "abcdef");
                      EXPECT_EQ(Field(d, "id2Number")->text(), "00"); // too long now, and said
                      EXPECT_THAT(note->text().toStdString(), HasSubstr("starts again from 00"));
                      Type(Field(d, "id2Number"), "12345678");
                      EXPECT_EQ(Field(d, "id2Number")->text(), "123456");
                      EXPECT_EQ(Field(d, "meterId2Preview")->text(), "abcdef123456");
                      // Only digits reach the numbers.
                      Type(Field(d, "idFrom"), "9x8");
                      EXPECT_EQ(Field(d, "idFrom")->text(), "98");
                      EXPECT_EQ(Field(d, "meterIdPreview")->text(), "98");
                      test::Press(d, QDialogButtonBox::Cancel);
                  }),
              "Meter--Add");
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"Number(<=100) must be an integer from 1 to 100.",
                                        "Number(<=100) must be an integer from 1 to 100."}));
    // Cancelled: nothing stored, nothing remembered.
    EXPECT_EQ(Meters(), before);
    EXPECT_EQ(Doc().m_lastMeterId, "00");
    EXPECT_EQ(Doc().m_lastMeterCount, 1);
}

TEST_F(EditCommandsTest, ABatchIsStoredListedAndRememberedForTheNext)
{
    OpenDatabase();
    ClickRow(Box(V::IdBlockList), 2); // Block 50, one meter
    Doc().SetDataChanged(0);
    prompter.answers = {MsgAnswer::Yes}; // its Meter ID 00 comes round again
    Run(V::IdMeterAdd, [&](QDialog& d) {
        Type(Field(d, "idFrom"), "98");
        Type(Field(d, "id2Number"), "000001");
        Type(Field(d, "meterCount"), "3");
        Type(Field(d, "userAddr"), "Elm 1");
        QTest::mouseClick(PushButton(d, "nextMeter"), Qt::LeftButton);
        Type(Field(d, "userAddr"), "Elm 2");
        Ok(d);
    });
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{
                  "Meter ID 00 is already used in Block 0050.\nAdd the meters all the same?"});
    EXPECT_EQ(Meters("district_id = 50"), (Rows{{"00", "B50M0", "Street 0", "50"},
                                                {"98", "xx000001", "Elm 1", "50"},
                                                {"99", "xx000002", "Elm 2", "50"},
                                                {"00", "xx000003", "xxx", "50"}}));
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 4);
    EXPECT_EQ(Cell(V::IdMeters, 3, 2), "xx000003");
    EXPECT_TRUE(Drawn("Meters: 4"));
    EXPECT_EQ(Doc().GetDataChanged(), 1);
    // The next batch is offered where this one ended.
    Run(V::IdMeterAdd, [&](QDialog& d) {
        EXPECT_EQ(Field(d, "idFrom")->text(), "01");
        EXPECT_EQ(Field(d, "id2Prefix")->text(), "xx");
        EXPECT_EQ(Field(d, "id2Number")->text(), "000004");
        EXPECT_EQ(Field(d, "meterCount")->text(), "3");
    });
}

TEST_F(EditCommandsTest, NoAfterAFailedInsertKeepsTheMetersSoFarAndTheRememberedValues)
{
    OpenDatabase();
    ClickRow(Box(V::IdBlockList), 2);
    db.RefuseInserts("meter", "meter_num", "99", "refused");
    // Meter ID 00 in use: go on; then the database's report, and the question.
    prompter.answers = {MsgAnswer::Yes, MsgAnswer::Ok, MsgAnswer::No};
    Run(V::IdMeterAdd, [&](QDialog& d) {
        Type(Field(d, "idFrom"), "98");
        Type(Field(d, "meterCount"), "3");
        Ok(d);
    });
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_THAT(prompter.messages[1].text, HasSubstr("refused"));
    EXPECT_EQ(prompter.messages[2].text, "Continue?");
    EXPECT_EQ(prompter.messages[2].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Meters("district_id = 50"),
              (Rows{{"00", "B50M0", "Street 0", "50"}, {"98", "xx00", "xxx", "50"}}));
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 2);
    EXPECT_EQ(Doc().m_lastMeterId, "00");
    EXPECT_EQ(Doc().m_lastMeterId2, "00");
    EXPECT_EQ(Doc().m_lastId2Prefix, "xx");
    EXPECT_EQ(Doc().m_lastMeterCount, 1);
}

TEST_F(EditCommandsTest, MeterFiveOfOneBlockIsModifiedAndDeletedAloneFromTheOther)
{
    OpenDatabase();
    // Without a selected meter: said, nothing opens.
    for (int id : {V::IdMeterModify, V::IdMeterDelete}) {
        prompter.messages.clear();
        EXPECT_EQ(Run(id), "");
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, "Please Choice Meter First!");
        EXPECT_EQ(prompter.messages[0].caption, "error");
    }
    prompter.messages.clear();
    const Rows block41 = Meters("district_id = 41");
    ClickRow(List(V::IdMeters), 5);
    EXPECT_EQ(Run(V::IdMeterModify,
                  [&](QDialog& d) {
                      EXPECT_EQ(Field(d, "meterId")->text(), "05");
                      EXPECT_EQ(Field(d, "meterId2")->text(), "B40M5");
                      EXPECT_EQ(Field(d, "meterAddress")->text(), "Street 5");
                      EXPECT_EQ(Field(d, "meterBlockId")->text(), "40");
                      // Block 0 and a Block that is not there are refused.
                      Type(Field(d, "meterBlockId"), "0");
                      Ok(d);
                      Type(Field(d, "meterBlockId"), "77");
                      Ok(d);
                      Type(Field(d, "meterId"), "");
                      Type(Field(d, "meterBlockId"), "40");
                      Ok(d);
                      EXPECT_TRUE(d.isVisible());
                      Type(Field(d, "meterId"), "15");
                      Type(Field(d, "meterId2"), "P15");
                      Type(Field(d, "meterAddress"), "Mill lane");
                      Ok(d);
                  }),
              "Meter--Modify");
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"Block ID must be an integer from 1 to 9999.",
                                        "There is no Block 0077.",
                                        "Meter ID must be one or two digits, 00 to 99."}));
    EXPECT_EQ(Meters("district_id = 40").at(5),
              (std::vector<std::string>{"15", "P15", "Mill lane", "40"}));
    EXPECT_EQ(Meters("district_id = 41"), block41); // its meter 05 untouched
    EXPECT_EQ(Cell(V::IdMeters, 5, 1), "15");
    EXPECT_EQ(Cell(V::IdMeters, 5, 3), "Mill lane");
    EXPECT_EQ(List(V::IdMeters)->SelectedRow(), 5);

    // Deleted without a question: only this Block's meter of that number.
    ClickRow(List(V::IdMeters), 4); // meter 04
    prompter.messages.clear();
    Doc().SetDataChanged(0);
    EXPECT_EQ(Run(V::IdMeterDelete), "");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(Meters("district_id = 40 and meter_num = '04'").empty());
    EXPECT_EQ(Meters("district_id = 41"), block41);
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 5);
    EXPECT_EQ(Doc().GetDataChanged(), 1);

    // Block 41's meter 05 is modified and deleted without touching Block 40's rows.
    const Rows block40 = Meters("district_id = 40");
    ClickRow(Box(V::IdBlockList), 1);
    ClickRow(List(V::IdMeters), 5);
    Run(V::IdMeterModify, [&](QDialog& d) {
        Type(Field(d, "meterAddress"), "changed");
        Ok(d);
    });
    EXPECT_EQ(Meters("district_id = 41").at(5),
              (std::vector<std::string>{"05", "B41M5", "changed", "41"}));
    Run(V::IdMeterDelete);
    EXPECT_TRUE(Meters("district_id = 41 and meter_num = '05'").empty());
    EXPECT_EQ(Meters("district_id = 40"), block40);
}

// A Block of over 100 meters repeats Meter IDs: here two meters "05" in one Block, on each
// engine, opened through the window.
class MeterRowTest : public EditCommandsTest, public ::testing::WithParamInterface<test::Engine> {
protected:
    std::optional<test::TestDatabase> install;

    void SetUp() override
    {
        EditCommandsTest::SetUp();
        if (HasFatalFailure())
            return;
        if (const std::string why = test::EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
        install.emplace(GetParam(), "rows");
        ASSERT_EQ(CreateInstallationSchema(install->Name(), prompter), 1);
        {
            MeterDatabase m(prompter);
            ASSERT_EQ(m.OpenMain(ConnectStringFor(install->Name())), 1);
            ASSERT_EQ(m.InsertHhu({1, "One"}), 1);
            ASSERT_EQ(m.InsertBlock({7, "Twins", 1, 0x3200}), 1);
            for (const MeterRecord& r :
                 {MeterRecord{"04", "A4", "four", 7}, MeterRecord{"05", "A5", "first five", 7},
                  MeterRecord{"06", "A6", "six", 7}, MeterRecord{"05", "B5", "second five", 7}})
                ASSERT_EQ(m.InsertMeter(r), 1);
        }
        if (GetParam() == test::Engine::Sqlite) {
            prompter.choices = {install->Name()};
            Frame().Action("OpenDatabase")->trigger();
        } else {
            Doc().OnOpenServerDatabase(ServerDatabaseFields::From(install->Name()));
        }
        ASSERT_EQ(Doc().IsDatabaseOpen(), 1);
        prompter.messages.clear();
    }
    Rows Stored()
    {
        return install->Query("select meter_num, property_num, meter_address, district_id "
                              "from meter order by rowid");
    }
};

TEST_P(MeterRowTest, ModifyAndDeleteActOnTheChosenMeterAlone)
{
    ASSERT_EQ(List(V::IdMeters)->GetItemCount(), 4);
    Rows expected = Stored();
    ClickRow(List(V::IdMeters), 3); // the second "05"
    Run(V::IdMeterModify, [&](QDialog& d) {
        EXPECT_EQ(Field(d, "meterId2")->text(), "B5");
        Ok(d);
    });
    EXPECT_EQ(Stored(), expected);
    Run(V::IdMeterModify, [&](QDialog& d) {
        Type(Field(d, "meterAddress"), "changed");
        Ok(d);
    });
    expected[3][2] = "changed";
    EXPECT_EQ(Stored(), expected);
    // The list shows it at once.
    EXPECT_EQ(Cell(V::IdMeters, 3, 3), "changed");
    EXPECT_EQ(Cell(V::IdMeters, 1, 3), "first five");

    Run(V::IdMeterDelete);
    expected.erase(expected.begin() + 3);
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 3);
    EXPECT_EQ(Cell(V::IdMeters, 1, 3), "first five");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(MeterRowTest, AnId2InUseIsRefusedAndTheDialogStaysAMeterIdInUseIsAsked)
{
    const Rows before = Stored();
    ClickRow(List(V::IdMeters), 0); // 04
    prompter.answers = {MsgAnswer::Ok, MsgAnswer::No, MsgAnswer::Yes};
    Run(V::IdMeterModify, [&](QDialog& d) {
        Type(Field(d, "meterId2"), "B5");
        Ok(d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Field(d, "meterId2")->text(), "B5");
        Type(Field(d, "meterId2"), "A4");
        Type(Field(d, "meterId"), "6");
        Ok(d); // "No": still open
        EXPECT_TRUE(d.isVisible());
        Ok(d); // "Yes"
    });
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{
                  "Meter ID2 B5 is already in use (Meter ID 05 of Block 0007).",
                  "Meter ID 06 is already used in Block 0007.\nKeep it all the same?",
                  "Meter ID 06 is already used in Block 0007.\nKeep it all the same?"}));
    Rows expected = before;
    expected[0][0] = "06"; // stored in two digits
    EXPECT_EQ(Stored(), expected);

    // Meter--Add names the first ID2 in use before it inserts anything.
    prompter.messages.clear();
    prompter.answers.clear();
    Run(V::IdMeterAdd, [&](QDialog& d) {
        Type(Field(d, "idFrom"), "10");
        Type(Field(d, "id2Prefix"), "A");
        Type(Field(d, "id2Number"), "3");
        Type(Field(d, "meterCount"), "3"); // A3 A4 A5
        Ok(d);
        EXPECT_TRUE(d.isVisible());
        test::Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{
                                    "Meter ID2 A4 is already in use (Meter ID 06 of Block 0007)."});
    EXPECT_EQ(Stored(), expected);
}

INSTANTIATE_TEST_SUITE_P(Engines, MeterRowTest, ::testing::ValuesIn(test::kAllEngines),
                         [](const ::testing::TestParamInfo<test::Engine>& info) {
                             return std::string(test::EngineName(info.param));
                         });

TEST_F(EditCommandsTest, AMeterGivenAnotherBlockLeavesTheListShown)
{
    OpenDatabase();
    ClickRow(List(V::IdMeters), 2);
    Doc().SetDataChanged(0);
    Run(V::IdMeterModify, [&](QDialog& d) {
        Type(Field(d, "meterBlockId"), "50");
        Ok(d);
    });
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 5);
    EXPECT_EQ(List(V::IdMeters)->CurrentKey(), 40);
    EXPECT_TRUE(Drawn("Meters: 5"));
    EXPECT_EQ(Meters("district_id = 50 and meter_num = '02'"),
              (Rows{{"02", "B40M2", "Street 2", "50"}}));
    // Both Blocks' meter counts changed: HHU mode lists them again.
    EXPECT_EQ(Doc().GetDataChanged(), 1);
}

TEST_F(EditCommandsTest, QueryFindsByTheFieldTypedLastStepsThroughMatchesAndStaysOpen)
{
    OpenDatabase();
    EXPECT_EQ(Run(V::IdQuery,
                  [&](QDialog& d) {
                      auto* query = PushButton(d, "queryButton");
                      EXPECT_TRUE(query->isDefault());
                      // Hexadecimal digits only.
                      Type(Field(d, "queryMeterId"), "g0F");
                      EXPECT_EQ(Field(d, "queryMeterId")->text(), "0F");
                      // By Meter ID: the first meter of that number in table order.
                      Type(Field(d, "queryMeterId"), "05");
                      QTest::keyClick(Field(d, "queryMeterId"),
                                      Qt::Key_Return); // the default button
                      EXPECT_TRUE(d.isVisible());
                      EXPECT_EQ(Field(d, "queryMeterId2")->text(), "B40M5");
                      EXPECT_EQ(Field(d, "queryUserAddr")->text(), "Street 5");
                      EXPECT_EQ(Field(d, "queryBlockId")->text(), "0040");
                      EXPECT_EQ(Field(d, "queryBlockName")->text(), "Garden");
                      EXPECT_EQ(Field(d, "queryHhuId")->text(), "0003");
                      EXPECT_EQ(Field(d, "queryHhuDesp")->text(), "North");
                      // Blocks 40 and 41 both have a 05: said, and stepped through.
                      auto* note = d.findChild<QLabel*>("queryNote");
                      auto* previous = PushButton(d, "queryPrevious");
                      auto* next = PushButton(d, "queryNext");
                      EXPECT_EQ(note->text(), "Meter 1 of 2 found by Meter ID 05.");
                      EXPECT_FALSE(previous->isEnabled());
                      QTest::mouseClick(next, Qt::LeftButton);
                      EXPECT_EQ(note->text(), "Meter 2 of 2 found by Meter ID 05.");
                      EXPECT_EQ(Field(d, "queryMeterId2")->text(), "B41M5");
                      EXPECT_EQ(Field(d, "queryBlockName")->text(), "Mill");
                      EXPECT_FALSE(next->isEnabled());
                      QTest::mouseClick(previous, Qt::LeftButton);
                      EXPECT_EQ(Field(d, "queryMeterId2")->text(), "B40M5");
                      // The ID2 typed last is looked up, not the Meter ID left from before,
                      // and stays as typed.
                      Type(Field(d, "queryMeterId2"), "B50M0");
                      EXPECT_FALSE(next->isEnabled());
                      QTest::mouseClick(query, Qt::LeftButton);
                      EXPECT_EQ(Field(d, "queryMeterId2")->text(), "B50M0");
                      EXPECT_EQ(Field(d, "queryMeterId")->text(), "00");
                      EXPECT_EQ(note->text(), "Found by Meter ID2 B50M0.");
                      EXPECT_EQ(Field(d, "queryBlockName")->text(), "Far");
                      EXPECT_EQ(Field(d, "queryHhuDesp")->text(), "South");
                      // A one-digit Meter ID is looked up as stored.
                      Type(Field(d, "queryMeterId"), "3");
                      QTest::mouseClick(query, Qt::LeftButton);
                      EXPECT_EQ(Field(d, "queryMeterId")->text(), "03");
                      EXPECT_EQ(Field(d, "queryMeterId2")->text(), "B40M3");
                      // Neither: said, and the result fields are emptied.
                      EXPECT_TRUE(prompter.messages.empty());
                      Type(Field(d, "queryMeterId"), "77");
                      Type(Field(d, "queryMeterId2"), "none");
                      QTest::mouseClick(query, Qt::LeftButton);
                      for (const char* name : {"queryUserAddr", "queryBlockId", "queryBlockName",
                                               "queryHhuId", "queryHhuDesp"})
                          EXPECT_EQ(Field(d, name)->text(), "") << name;
                      EXPECT_TRUE(d.isVisible());
                      test::Press(d, QDialogButtonBox::Cancel);
                      EXPECT_FALSE(d.isVisible());
                  }),
              "Query");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "No Meter!");
    EXPECT_EQ(prompter.messages[0].caption, "");
}

TEST_F(EditCommandsTest, AQuoteAndChineseTextAreStoredAndShownExactlyInEveryTextField)
{
    OpenDatabase();
    const std::string odd = kOddText.toStdString();
    Frame().Action("HhuSetting")->trigger();
    Run(V::IdModify, [&](QDialog& d) {
        Type(Field(d, "hhuDescription"), kOddText);
        Ok(d);
    });
    EXPECT_EQ(Hhus().at(0).at(1), odd);
    EXPECT_TRUE(Drawn("HHU Description: " + kOddText));

    Frame().Action("MeterSetting")->trigger();
    Run(V::IdModify, [&](QDialog& d) {
        Type(Field(d, "blockName"), kOddText);
        Ok(d);
    });
    EXPECT_EQ(Blocks().at(0).at(1), odd);
    EXPECT_EQ(Box(V::IdBlockList)->model()->index(0, 0).data().toString(), kOddText);

    // The prefix of ID2 and the User Addr of a new meter.
    const QString prefix = QString::fromUtf8("北'");
    prompter.answers = {MsgAnswer::Yes}; // Meter ID 00 is the Block's already
    Run(V::IdMeterAdd, [&](QDialog& d) {
        Type(Field(d, "id2Prefix"), prefix);
        Type(Field(d, "userAddr"), kOddText);
        Ok(d);
    });
    ASSERT_EQ(prompter.messages.size(), 1u);
    prompter.messages.clear();
    EXPECT_EQ(Meters("district_id = 40").back(),
              (std::vector<std::string>{"00", "北'00", odd, "40"}));
    EXPECT_EQ(Cell(V::IdMeters, 6, 2), QString::fromUtf8("北'00"));
    EXPECT_EQ(Cell(V::IdMeters, 6, 3), kOddText);

    // ID2 and User Addr of Meter--Modify.
    const QString id2 = QString::fromUtf8("\"东'12");
    ClickRow(List(V::IdMeters), 0);
    Run(V::IdMeterModify, [&](QDialog& d) {
        Type(Field(d, "meterId2"), id2);
        Type(Field(d, "meterAddress"), kOddText);
        Ok(d);
    });
    EXPECT_EQ(Meters("district_id = 40").at(0),
              (std::vector<std::string>{"00", id2.toStdString(), odd, "40"}));
    EXPECT_EQ(Cell(V::IdMeters, 0, 2), id2);
    // A reload shows the same.
    List(V::IdMeters)->FillList(40);
    EXPECT_EQ(Cell(V::IdMeters, 0, 2), id2);
    EXPECT_EQ(Cell(V::IdMeters, 0, 3), kOddText);

    // Query by such an ID2 shows the texts as stored.
    Run(V::IdQuery, [&](QDialog& d) {
        Type(Field(d, "queryMeterId2"), id2);
        QTest::mouseClick(PushButton(d, "queryButton"), Qt::LeftButton);
        EXPECT_EQ(Field(d, "queryMeterId")->text(), "00");
        EXPECT_EQ(Field(d, "queryUserAddr")->text(), kOddText);
        EXPECT_EQ(Field(d, "queryHhuDesp")->text(), kOddText);
        EXPECT_EQ(Field(d, "queryBlockName")->text(), kOddText);
    });
    EXPECT_TRUE(prompter.messages.empty());

    // A field takes no more than its column reads back: twenty bytes are ten Chinese
    // characters, never half of one.
    Frame().Action("HhuSetting")->trigger();
    Run(V::IdModify, [&](QDialog& d) {
        Type(Field(d, "hhuDescription"), QString(11, QChar(0x5317)));
        EXPECT_EQ(Field(d, "hhuDescription")->text(), QString(10, QChar(0x5317)));
        Type(Field(d, "hhuDescription"), QString::fromUtf8("北京") + QString(17, 'x'));
        EXPECT_EQ(Field(d, "hhuDescription")->text(), QString::fromUtf8("北京") + QString(16, 'x'));
        Ok(d);
    });
    EXPECT_EQ(Doc().Hhus()[0].description, "北京" + std::string(16, 'x'));
}

} // namespace
} // namespace mrv
