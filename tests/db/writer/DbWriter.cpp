// A second program on the same database, for the tests of several PCs at once: adds COUNT
// meters numbered TAG01.. to Block BLOCK in one batch, then tries to add Block NEWBLOCK.
// Prints "meters N" (the meters stored), "block 1|0" and each database message.
//
//   mrv-db-writer CONNECT TAG BLOCK COUNT NEWBLOCK
#include "db/MeterDatabase.h"
#include "mrvctl/StderrPrompter.h"

#include <cstdio>
#include <cstdlib>
#include <string>


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
    mrv::StderrPrompter prompter(false, stdout);
    mrv::MeterDatabase db(prompter);
    if (!db.OpenMain(argv[1]))
        return 1;
    int stored = 0;
    if (db.BeginMeterBatch()) {
        for (int i = 1; i <= count; ++i) {
            char num[12]; // room for any int: the release build checks the width
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
