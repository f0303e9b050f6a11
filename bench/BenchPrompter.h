#pragma once
// Prompters for the benchmarks: nobody is there to choose a file, a folder or a password, so
// every chooser answers "cancelled"; what a message does is each benchmark's choice.
#include "base/Prompter.h"

#include <optional>
#include <string>

namespace mrv::bench {

class NoChoicePrompter : public Prompter {
public:
    std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&,
                                              const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> AskPassword(const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
};

// Answers every question with "go on" and counts what it was shown; benchmarks check the
// count so that a run that only failed fast is not taken for a fast run.
class CountingPrompter final : public NoChoicePrompter {
public:
    int messages = 0;
    MsgAnswer Message(const std::string&, const std::string&, MsgIcon, MsgButtons) override
    {
        ++messages;
        return MsgAnswer::Yes;
    }
};

} // namespace mrv::bench
