#pragma once
// The command line has no message boxes: messages go to stderr, questions get a fixed answer
// and the file choosers are always cancelled (commands take their paths as arguments).
#include "base/Prompter.h"

#include <cstdio>

namespace mrv {

class StderrPrompter final : public Prompter {
public:
    // `yesToQuestions` answers Yes/Ok/Retry when true, No/Cancel otherwise. Without a terminal
    // to ask, "go on" is the caller's decision, not the user's.
    explicit StderrPrompter(bool yesToQuestions = false, std::FILE* out = stderr)
        : m_yes(yesToQuestions), m_out(out)
    {
    }

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
    // Asked on the terminal, without echo, when there is one; cancelled otherwise (a script
    // gives the password through PGPASSWORD or ~/.pgpass).
    std::optional<std::string> AskPassword(const std::string& title,
                                           const std::string& prompt) override;

    // Number of messages printed so far.
    int MessageCount() const { return m_count; }

private:
    bool m_yes;
    std::FILE* m_out;
    int m_count = 0;
};

} // namespace mrv
