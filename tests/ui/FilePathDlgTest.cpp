#include "UiTest.h"

#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "ui/app/CFilePathDlg.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>

namespace mrv {
namespace {

using test::Press;
using test::ScriptedPrompter;
using test::TempDir;

class FilePathDlgTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    CMrvDoc doc{store, prompter, dir.File("mrv003e")};
    std::unique_ptr<CFilePathDlg> dialog;

    void SetUp() override
    {
        doc.m_downloadPath = dir.Path().string();
        doc.m_dataPath = dir.Path().string();
        dialog = std::make_unique<CFilePathDlg>(doc);
        dialog->show();
    }
    void Type(QLineEdit* edit, const std::string& text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromStdString(text));
    }
};

TEST_F(FilePathDlgTest, DeclinedMissingFoldersAreStoredAsTyped)
{
    const std::string down = dir.File("down"), up = dir.File("up");
    Type(dialog->DownloadEdit(), down);
    Type(dialog->UploadEdit(), up);
    prompter.answers = {MsgAnswer::No, MsgAnswer::No};
    Press(*dialog, QDialogButtonBox::Ok);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(doc.m_downloadPath, down);
    EXPECT_EQ(doc.m_dataPath, up);
    EXPECT_FALSE(std::filesystem::exists(down));
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"No Download Path!\nCreate?", "No Upload Path!\nCreate?"}));
}

TEST_F(FilePathDlgTest, FolderThatCannotBeCreatedKeepsTheDialogOpen)
{
    const std::string file = dir.File("plain");
    std::ofstream(file) << "a file, not a folder";
    const std::string old = doc.m_dataPath;
    const std::string down = dir.File("down");
    Type(dialog->DownloadEdit(), down);
    Type(dialog->UploadEdit(), file + "/sub");
    prompter.answers = {MsgAnswer::Yes, MsgAnswer::Yes};
    Press(*dialog, QDialogButtonBox::Ok);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(prompter.messages.back().text, "Can't Create This Upload Path!");
    EXPECT_EQ(prompter.messages.back().caption, "error");
    // The download folder was made and stays stored; the upload edit shows the old folder.
    EXPECT_TRUE(std::filesystem::is_directory(down));
    EXPECT_EQ(doc.m_downloadPath, down);
    EXPECT_EQ(doc.m_dataPath, old);
    EXPECT_EQ(dialog->UploadEdit()->text().toStdString(), old);

    Press(*dialog, QDialogButtonBox::Cancel);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(doc.m_dataPath, old);
}

TEST_F(FilePathDlgTest, BrowseStartsAtTheTypedFolderAndTakesTheChoice)
{
    prompter.choices = {dir.File("picked"), std::nullopt};
    QTest::mouseClick(dialog->DownloadBrowse(), Qt::LeftButton);
    QTest::mouseClick(dialog->UploadBrowse(), Qt::LeftButton); // cancelled: the edit stays
    ASSERT_EQ(prompter.choosers.size(), 2u);
    EXPECT_EQ(prompter.choosers[0].title, "Please Choice Download Path:");
    EXPECT_EQ(prompter.choosers[0].startDir, dir.Path().string());
    EXPECT_EQ(prompter.choosers[1].title, "Please Choice Upload Path:");
    EXPECT_EQ(dialog->DownloadEdit()->text().toStdString(), dir.File("picked"));
    EXPECT_EQ(dialog->UploadEdit()->text().toStdString(), dir.Path().string());
    // Nothing reaches the document before OK.
    EXPECT_EQ(doc.m_downloadPath, dir.Path().string());
}

} // namespace
} // namespace mrv
