#include "support/ScriptedPrompter.h"

namespace mrv::test {

MsgAnswer ScriptedPrompter::Message(const std::string& text, const std::string& caption,
                                    MsgIcon icon, MsgButtons buttons)
{
    messages.push_back({text, caption, icon, buttons});
    if (!answers.empty()) {
        MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    if (buttons == MsgButtons::YesNoDefaultNo)
        return MsgAnswer::No;
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                              : MsgAnswer::Ok;
}

std::optional<std::string> ScriptedPrompter::NextChoice()
{
    if (choices.empty())
        return std::nullopt;
    auto c = choices.front();
    choices.pop_front();
    return c;
}

std::optional<std::string> ScriptedPrompter::ChooseOpenFile(const std::string& title,
                                                            const std::string& filter,
                                                            const std::string& startDir,
                                                            const std::string& defaultExt)
{
    choosers.push_back({"open", title, filter, startDir, defaultExt});
    return NextChoice();
}

std::optional<std::string> ScriptedPrompter::ChooseSaveFile(const std::string& title,
                                                            const std::string& filter,
                                                            const std::string& startDir,
                                                            const std::string& defaultExt)
{
    choosers.push_back({"save", title, filter, startDir, defaultExt});
    return NextChoice();
}

std::optional<std::string> ScriptedPrompter::ChooseFolder(const std::string& title,
                                                          const std::string& startDir)
{
    choosers.push_back({"folder", title, {}, startDir, {}});
    return NextChoice();
}

std::optional<std::string> ScriptedPrompter::AskPassword(const std::string&,
                                                         const std::string& prompt)
{
    passwordPrompts.push_back(prompt);
    if (passwords.empty())
        return std::nullopt;
    std::string p = passwords.front();
    passwords.pop_front();
    return p;
}

std::vector<std::string> ScriptedPrompter::Texts() const
{
    std::vector<std::string> out;
    for (const auto& m : messages)
        out.push_back(m.text);
    return out;
}

} // namespace mrv::test
