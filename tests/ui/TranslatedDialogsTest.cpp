// The data-file and edit dialogs with the program's translations loaded: their titles, labels,
// column titles and messages come out of the translation, Chinese in zh_CN, and the labels that
// are Chinese in the source come out in English under en while the rest stays as written.
#include "UiTest.h"

#include "base/Records.h"
#include "doc/CMrvDoc.h"
#include "doc/MeterBatch.h"
#include "doc/ParameterForm.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "ui/datafile/CCreateDownloadDlg.h"
#include "ui/datafile/CDataFileDialogs.h"
#include "ui/datafile/CDataFileSheet.h"
#include "ui/datafile/CExportDlg.h"
#include "ui/edit/CBlockDlg.h"
#include "ui/edit/CHhuDlg.h"
#include "ui/edit/CMeterAddDlg.h"
#include "ui/edit/CMeterModifyDlg.h"
#include "ui/edit/CQueryDlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <functional>
#include <memory>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

using Translation = test::InstalledTranslation;

// The text a dialog shows for the child `name`: a label's buddy, a button's or group box's
// own text, a table's first column title; "?" when it has no such child.
QString ShownText(QWidget& dlg, const QString& name)
{
    if (name == "windowTitle")
        return dlg.windowTitle();
    if (name.startsWith("tab:")) {
        auto* tabs = dlg.findChild<QTabWidget*>();
        return tabs ? tabs->tabText(name.mid(4).toInt()) : "?";
    }
    if (name.startsWith("label:")) {
        QWidget* field = dlg.findChild<QWidget*>(name.mid(6));
        for (QLabel* l : dlg.findChildren<QLabel*>())
            if (field != nullptr && l->buddy() == field)
                return l->text();
        return "?";
    }
    if (name.startsWith("group:")) {
        for (QGroupBox* g : dlg.findChildren<QGroupBox*>())
            if (g->findChild<QWidget*>(name.mid(6)))
                return g->title();
        return "?";
    }
    if (name.startsWith("accessible:")) {
        QWidget* w = dlg.findChild<QWidget*>(name.mid(11));
        return w ? w->accessibleName() : "?";
    }
    if (auto* table = dlg.findChild<QTableWidget*>(name))
        return table->horizontalHeaderItem(0)->text();
    if (auto* button = dlg.findChild<QAbstractButton*>(name))
        return button->text();
    return "?";
}

class TranslatedDialogsTest : public ::testing::Test {
public:
    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    CMrvDoc doc{store, prompter, dir.File("mrv003e")};
    BlockList blocks; // the dialogs keep a reference to it

    void SetUp() override { doc.LoadSettings(); }

    struct Case {
        const char* dialog;
        std::function<std::unique_ptr<QDialog>(TranslatedDialogsTest&)> make;
        const char* child;
        QString expected;
    };

    static std::unique_ptr<QDialog> Sheet(TranslatedDialogsTest& t)
    {
        return std::make_unique<CDataFileSheet>(t.doc);
    }
    static std::unique_ptr<QDialog> MeterModify(TranslatedDialogsTest& t)
    {
        MeterRecord meter;
        meter.meter_num = "01";
        meter.district_id = 5;
        return std::make_unique<CMeterModifyDlg>(meter, t.blocks, t.prompter);
    }

    void ExpectShown(const std::vector<Case>& cases)
    {
        for (const Case& c : cases) {
            std::unique_ptr<QDialog> dlg = c.make(*this);
            EXPECT_EQ(ShownText(*dlg, c.child), c.expected) << c.dialog << ": " << c.child;
        }
    }
};

TEST_F(TranslatedDialogsTest, ChineseShowsEveryDialogAndMessageInChinese)
{
    const Translation zh("zh_CN");
    ASSERT_TRUE(zh.Loaded());
    auto download = [](TranslatedDialogsTest& t) {
        return std::make_unique<CCreateDownloadDlg>(t.doc);
    };
    auto view = [](TranslatedDialogsTest& t) {
        return std::make_unique<CViewDataFileDlg>(t.doc, -1);
    };
    auto energy = [](TranslatedDialogsTest& t) {
        return std::make_unique<CExportEnergyDlg>(t.doc);
    };
    auto hhu = [](TranslatedDialogsTest& t) {
        return std::make_unique<CHhuDlg>(CHhuDlg::Add, 1, "", t.prompter);
    };
    auto block = [](TranslatedDialogsTest& t) {
        return std::make_unique<CBlockDlg>(CBlockDlg::Modify, BlockRecord{}, "3200", HhuList{},
                                           t.prompter);
    };
    auto meterAdd = [](TranslatedDialogsTest& t) {
        return std::make_unique<CMeterAddDlg>(MeterBatch{}, 5, t.prompter);
    };
    auto query = [](TranslatedDialogsTest& t) { return std::make_unique<CQueryDlg>(t.doc); };
    ExpectShown({
        {"download", download, "windowTitle", "生成下载文件"},
        {"download", download, "hhuList", "抄表器编号"},
        {"download", download, "createButton", "生成"},
        {"sheet", Sheet, "windowTitle", "数据文件设置"},
        {"sheet", Sheet, "tab:1", "日时段表"},
        {"sheet", Sheet, "label:pulseWidth", "脉冲宽度"},
        {"sheet", Sheet, "group:relayTrip", "继电器状态"},
        {"view", view, "label:timeVerify", "校时"},
        {"energy", energy, "windowTitle", "导出电量数据库"},
        {"energy", energy, "exportFromOn", "从(&R)："},
        // A screen reader says the label without its accelerator and colon.
        {"energy", energy, "accessible:exportFrom", "从"},
        {"hhu", hhu, "windowTitle", "抄表器--添加"},
        {"block", block, "label:blockName", "小区名称"},
        {"meter add", meterAdd, "label:userAddr", "用户地址"},
        {"meter modify", MeterModify, "windowTitle", "电表--修改"},
        {"query", query, "queryButton", "查询"},
        {"query", query, "accessible:queryHhuDesp", "抄表器描述"},
    });

    // What a worker thread reports and what a refusal says are translated too.
    EXPECT_EQ(CCreateDownloadDlg::StatusText(3, true, true), "生成 0003S.dbf  成功！");
    std::unique_ptr<QDialog> modify = MeterModify(*this);
    modify->findChild<QLineEdit*>("meterId")->setText("01");
    modify->findChild<QLineEdit*>("meterBlockId")->setText("7");
    modify->accept();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "没有小区 0007。");
    EXPECT_EQ(ConfirmExportPath(" ", prompter, "导出读数"), std::nullopt);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, "请给出要写入的文件。");
}

TEST_F(TranslatedDialogsTest, EnglishNamesTheChineseLabelsAndKeepsTheOthers)
{
    const Translation en("en");
    ASSERT_TRUE(en.Loaded());
    ExpectShown({
        {"sheet", Sheet, "windowTitle", "Data File Setting"},
        {"sheet", Sheet, "group:relayTrip", "Relay status"},
        {"sheet", Sheet, "relayTrip", "Trip"},
        {"sheet", Sheet, "label:owingPower", "Owing power"},
        {"sheet", Sheet, "label:pulseWidth", "Pulse Width"},
    });
}

// The sheet's fields are named as their labels read: in the words of the form's range messages
// without a translation, in Chinese with it.
TEST_F(TranslatedDialogsTest, TheSheetsFieldsAreNamedInTheLanguageShown)
{
    {
        CDataFileSheet sheet(doc);
        for (const SheetField& f : SheetFields()) {
            auto* edit = sheet.findChild<QLineEdit*>(QString::fromStdString(f.name));
            ASSERT_NE(edit, nullptr) << f.name;
            EXPECT_EQ(edit->accessibleName().toStdString(), f.label) << f.name;
        }
    }
    const Translation zh("zh_CN");
    ASSERT_TRUE(zh.Loaded());
    CDataFileSheet sheet(doc);
    for (QWidget* field : sheet.findChildren<QWidget*>()) {
        const bool spin = qobject_cast<QAbstractSpinBox*>(field) != nullptr;
        if (!spin && (!qobject_cast<QLineEdit*>(field) ||
                      qobject_cast<QAbstractSpinBox*>(field->parentWidget())))
            continue; // not a field, or a spin box's own line
        EXPECT_TRUE(test::HasChinese(field->accessibleName()))
            << field->objectName().toStdString() << ": " << field->accessibleName().toStdString();
    }
}

} // namespace
} // namespace mrv
