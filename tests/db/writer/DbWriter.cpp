// A second program on the same database, for the tests of several PCs at once: adds COUNT
// meters numbered TAG01.. to Block BLOCK in one batch, then tries to add Block NEWBLOCK.
// Prints "meters N" (the meters stored), "block 1|0" and each database message as
// "message <text>" on one line.
//
//   mrv-db-writer CONNECT TAG BLOCK COUNT NEWBLOCK
#include "base/Prompter.h"
#include "db/MeterDatabase.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class PrintingPrompter final : public mrv::Prompter {
public:
    mrv::MsgAnswer Message(const std::string& text, const std::string&, mrv::MsgIcon,
                           mrv::MsgButtons) override
    {
        std::string line = text;
        for (char& c : line)
            if (c == '\n')
                c = ' ';
        std::printf("message %s\n", line.c_str());
        return mrv::MsgAnswer::Ok;
    }
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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: mrv-db-writer CONNECT TAG BLOCK COUNT NEWBLOCK\n");
        return 2;
    }
    const std::string tag = argv[2];
    const int block = std::atoi(argv[3]);
    const int count = std::atoi(argv[4]);
    const int newBlock = std::atoi(argv[5]);
    PrintingPrompter prompter;
    mrv::MeterDatabase db(prompter);
    if (!db.OpenMain(argv[1]))
        return 1;
    int stored = 0;
    if (db.BeginMeterBatch()) {
        for (int i = 1; i <= count; ++i) {
            char num[8];
            std::snprintf(num, sizeof num, "%02d", i);
            stored += db.InsertMeter({num, tag + num, "written by " + tag, block});
        }
        if (!db.CommitMeterBatch())
            stored = 0;
    }
    std::printf("meters %d\n", stored);
    std::printf("block %d\n", db.InsertBlock({newBlock, "from " + tag, 1, 0}));
    std::fflush(stdout);
    return 0;
}
