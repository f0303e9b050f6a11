// The window in each of its languages: which translation a system's languages choose, and the
// program started with the Chinese and the English translation.
#include "AppFixture.h"
#include "UiTest.h"

#include "ui/app/Language.h"
#include "ui/meterdlg/COperateDlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>

#include <utility>
#include <vector>

namespace mrv {
namespace {

using test::HasChinese;
using test::Press;
using test::WithModal;

TEST(LanguageChoiceTest, SystemLanguagesAndTheProfilesChoice)
{
    const struct {
        LanguageChoice choice;
        QStringList system;
        QString translation;
    } cases[] = {
        {LanguageChoice::System, {"zh-CN", "zh-Hans-CN", "zh"}, "zh_CN"},
        {LanguageChoice::System, {"zh-TW", "zh-Hant-TW", "zh"}, "zh_CN"},
        {LanguageChoice::System, {"en-US", "en"}, "en"},
        {LanguageChoice::System, {"en-GB"}, "en"},
        // A language without a translation keeps the texts as written, whatever follows it.
        {LanguageChoice::System, {"de-DE", "de", "en"}, ""},
        {LanguageChoice::System, {"C"}, ""},
        {LanguageChoice::System, {}, ""},
        {LanguageChoice::Chinese, {"en-US"}, "zh_CN"},
        {LanguageChoice::English, {"zh-CN"}, "en"},
        {LanguageChoice::English, {"C"}, "en"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslationFor(c.choice, c.system), c.translation)
            << c.system.join(",").toStdString();
}

class LanguageTest : public test::AppFixture {
protected:
    void TearDown() override
    {
        app.reset();
        for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
    void StartIn(const QString& language)
    {
        ASSERT_TRUE(InstallTranslation(*qApp, language));
        Start();
    }
    // The texts a person reads in a widget and its children.
    static std::vector<QString> Texts(QWidget& w)
    {
        std::vector<QString> texts{w.windowTitle()};
        for (auto* b : w.findChildren<QAbstractButton*>())
            texts.push_back(b->text());
        for (auto* l : w.findChildren<QLabel*>())
            texts.push_back(l->text());
        for (auto* g : w.findChildren<QGroupBox*>())
            texts.push_back(g->title());
        return texts;
    }
};

TEST_F(LanguageTest, ChineseMenusDialogsAndMessages)
{
    StartIn("zh_CN");
    for (QAction* menu : Frame().menuBar()->actions()) {
        EXPECT_TRUE(HasChinese(menu->text())) << menu->text().toStdString();
        if (menu->menu() == nullptr)
            continue;
        for (QAction* a : menu->menu()->actions())
            if (!a->isSeparator() && !a->objectName().startsWith("RecentDatabase") &&
                a->objectName() != "LanguageEnglish") {
                EXPECT_TRUE(HasChinese(a->text())) << a->objectName().toStdString();
            }
    }
    // A dialog, with Qt's own buttons in the same language.
    EXPECT_TRUE(WithModal([&] { Frame().Action("Config")->trigger(); }, [&](QDialog& d) {
        EXPECT_TRUE(HasChinese(d.windowTitle())) << d.windowTitle().toStdString();
        for (auto* l : d.findChildren<QLabel*>())
            if (l->objectName() != "device") {
                EXPECT_TRUE(HasChinese(l->text())) << l->text().toStdString();
            }
        auto* box = d.findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(HasChinese(box->button(QDialogButtonBox::Cancel)->text()));
        Press(d, QDialogButtonBox::Cancel);
    }));
    // A message.
    Frame().findChild<QAction*>("LanguageEnglish")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(HasChinese(QString::fromStdString(prompter.messages[0].text)));
    EXPECT_EQ(StoredLanguage(*store), LanguageChoice::English);
}

TEST_F(LanguageTest, EnglishLeavesNoChineseLabelAndKeepsTheOtherTexts)
{
    StartIn("en");
    QStringList menus;
    for (QAction* a : Frame().menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus,
              (QStringList{"&File", "&Communication", "&Database", "&View", "Da&ta", "&About"}));
    // The Operate console is where the Chinese-only labels are.
    COperateDlg dlg(Doc());
    for (const QString& text : Texts(dlg))
        EXPECT_FALSE(HasChinese(text)) << text.toStdString();
}

} // namespace
} // namespace mrv
