#pragma once
// A Prompter for tests: records every message and answers from queues. An empty answer queue
// answers Ok/Yes for messages and "cancelled" for choosers.
#include "base/Prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace mrv::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MsgIcon icon;
    MsgButtons buttons;
};

class ScriptedPrompter final : public Prompter {
public:
    MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override;
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& startDir) override;
    // Answers from `passwords`; cancelled when it is empty. Each question is recorded.
    std::optional<std::string> AskPassword(const std::string& title,
                                           const std::string& prompt) override;

    std::deque<MsgAnswer> answers;                  // for Message
    std::deque<std::optional<std::string>> choices; // for the choosers
    std::vector<RecordedMessage> messages;
    struct Chooser {
        std::string kind, title, filter, startDir, defaultExt;
    };
    std::vector<Chooser> choosers;
    std::deque<std::string> passwords;
    std::vector<std::string> passwordPrompts;

    std::vector<std::string> Texts() const;

private:
    std::optional<std::string> NextChoice();
};

} // namespace mrv::test
