// The texts the document hands to the window come in the window's language: each is looked up
// under the context its translation is kept in, with its numbers and names put in their place.
#include "UiTest.h"

#include "datafile/HhuDataFile.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/BlockReading.h"
#include "doc/CMrvDoc.h"
#include "doc/DataFileTexts.h"
#include "doc/EditForm.h"
#include "doc/EnergyExport.h"
#include "doc/EnergyImport.h"
#include "doc/ParameterForm.h"
#include "doc/PhraseText.h"
#include "doc/QtSettingsStore.h"
#include "link/LineCheck.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace mrv::test {
namespace {

const SheetField& Field(const char* name)
{
    const SheetField* field = FindSheetField(name);
    EXPECT_NE(field, nullptr) << name;
    return *field;
}

TEST(DocTextsInChinese, RefusalsAndReportsReadInChineseWithTheirValues)
{
    // Made while no translation is installed: what mrvctl and the tests read.
    const std::string english = SheetFieldMessage(Field("dayHour3"));
    InstalledTranslation zh("zh_CN");
    ASSERT_TRUE(zh.Loaded());
    // A meter of a Block run that did not answer: the run's words and the trace's in Chinese.
    BlockMeterResult silent{3, "363230320003", 3, BlockMeterState::Failed, "silence", {}, 3, {}};
    BlockMeterResult stopped = silent;
    stopped.reason = "stopped";
    // A port that is not there, on a machine without adapters: the status bar's line.
    TempDir machine;
    const DeviceReport missing = CheckDevice(machine.File("dev/ttyUSB7"), machine.Path().string());
    ConvertResult converted;
    converted.written = 1;
    converted.valuesTooWide = 2;
    const std::pair<std::string, std::string> cases[] = {
        {FormNumberMessage(kHhuIdField), "抄表器编号 必须是 1 到 9999 之间的整数。"},
        {IdInUseMessage(kBlockIdField, 40), "小区编号 0040 已被使用。"},
        {SheetFieldMessage(Field("dayHour3")),
         "日时段表第 3 行 起始（时） 必须是 0 到 24 之间的整数。"},
        {SheetFieldMessage(Field("priceCents2")), "费率2电价（分） 必须是 0 到 99 之间的整数。"},
        {QueryMatchNote({2, "B5"}, 1, 3), "按表号2 B5 找到的第 2 块电表（共 3 块）。"},
        {ShownDataFileRefusal(DataFileError::BadMagic),
         "数据文件不正确！\n（文件开头没有数据文件标记）"},
        {BlockMeterLine(silent, 3, true),
         "记录 3（表号 363230320003，地址 3）：未抄到：无应答（第 3 次，共 3 次）"},
        {BlockMeterLine(stopped, 3, true),
         "记录 3（表号 363230320003，地址 3）：未抄到：已停止（第 3 次，共 3 次）"},
        {Translated(RefusalPhrases(missing)).toStdString(),
         "无法打开 " + machine.File("dev/ttyUSB7") + "。没有设备 " + machine.File("dev/ttyUSB7") +
             "。没有插入 USB 串口转换器（没有 /dev/ttyUSB*、/dev/ttyACM*）。"},
        {ShownConvertMessage(converted),
         "文件转换成功！(convert.dbf)\n有 2 个数值超出字段宽度，显示为“*”。"},
    };
    for (const auto& [shown, expected] : cases)
        EXPECT_EQ(shown, expected);
    EXPECT_EQ(english, "Day Table 3. From (hour) must be an integer from 0 to 24.");
    // mrvctl's lines, made without the window, stay as written.
    EXPECT_EQ(RefusalLine(missing), "Can't open " + machine.File("dev/ttyUSB7") +
                                        ". There is no device " + machine.File("dev/ttyUSB7") +
                                        ". No USB serial adapter is plugged in (no /dev/ttyUSB*, "
                                        "/dev/ttyACM*).");
    EXPECT_EQ(BlockMeterLine(silent, 3), "record 3 (meter 363230320003, address 3): not read: "
                                         "silence (try 3 of 3)");
}

TEST(DocTextsInChinese, OpeningAMissingDatabaseAsksInChinese)
{
    InstalledTranslation zh("zh_CN");
    ASSERT_TRUE(zh.Loaded());
    TempDir dir;
    QtSettingsStore store(QString::fromStdString(dir.File("profile.ini")));
    ScriptedPrompter prompter;
    prompter.answers = {MsgAnswer::No};
    CMrvDoc doc(store, prompter, dir.File("mrv003e"));
    EXPECT_EQ(doc.OpenDatabaseFile(dir.File("missing.db")), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "此数据库不存在。\n新建一个空数据库吗？");
    EXPECT_EQ(prompter.messages[0].caption, "打开数据库");
}

TEST(DocTextsInChinese, DatabaseReportsReadInChinese)
{
    InstalledTranslation zh("zh_CN");
    ASSERT_TRUE(zh.Loaded());
    TempDir dir;
    ScriptedPrompter prompter;
    MeterDatabase db(prompter);
    EXPECT_EQ(db.OpenMain(ConnectStringFor(dir.File("gone.db"))), 0);
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"找不到数据库文件“" + dir.File("gone.db") + "”。",
                                        "无法打开抄表器表(land)"}));
}

TEST(DocTextsInChinese, ImportSummaryInChineseWhileTheRowsStayAsStored)
{
    TempDir dir;
    const std::string path = dir.File("energy.db");
    ScriptedPrompter prompter;
    ASSERT_EQ(CreateEnergySchema(path, prompter), 1);
    MeterDatabase db(prompter);
    ASSERT_EQ(db.OpenEnergy(ConnectStringFor(path)), 1);
    ReadingRecord read;
    read.meterId2 = "000001";
    read.status = 1;
    read.readDate = {0x05, 0x12, 0x26};
    ReadingRecord damaged = read;
    damaged.meterId2 = "000002";
    damaged.damage = "bad date";
    ImportOptions options;
    options.database = path;
    {
        InstalledTranslation zh("zh_CN");
        ASSERT_TRUE(zh.Loaded());
        EXPECT_EQ(ImportDataFile({read, damaged}, db, prompter, options).stored, 1);
    }
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].caption, "导入结果");
    EXPECT_EQ(prompter.messages[0].text, "共导入 1 条记录！\n1 条损坏的记录未存入：\n  000002: bad "
                                         "date\n已存入 " +
                                             path);
    db.CloseEnergy();
    std::vector<EnergyRecord> stored;
    ASSERT_TRUE(LoadEnergyRows(path, {}, prompter, stored));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].datestr, "26-12-05"); // the database's text, whatever the language
}

TEST(DocTextsInEnglish, ChineseOnlyLabelsReadInEnglish)
{
    InstalledTranslation en("en");
    ASSERT_TRUE(en.Loaded());
    EXPECT_EQ(SheetFieldMessage(Field("owingPower")),
              "Owing power must be an integer from 0 to 65535.");
    // English texts stay as written.
    EXPECT_EQ(FormNumberMessage(kHhuIdField), "HHU ID must be an integer from 1 to 9999.");
}

} // namespace
} // namespace mrv::test
