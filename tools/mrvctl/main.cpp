// mrvctl: the command-line front end on the program's own code.
#include "Commands.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* summary;
};

const Command kCommands[] = {
    {"operate", RunOperate, "run meter operations over a serial line"},
    {"transact", RunTransact, "send one read or write request and print request and reply in hex"},
    {"scan", RunScan, "find the meters on a line: speeds, parities and addresses"},
    {"read-block", RunReadBlock, "read the meters of a data file's Block over the line into the file"},
    {"initdb", RunInitDb, "create an installation, energy or test database"},
    {"download", RunDownload, "write the download data file of an HHU"},
    {"show", RunShow, "print the parameters, Blocks and readings of a data file"},
    {"import", RunImport, "import the readings of a data file into an energy database"},
    {"convert", RunConvert, "convert a data file to dBase III"},
    {"export", RunExport, "write the readings of a data file or an energy database as .xlsx or .csv"},
    {"import-access", RunImportAccess, "carry an Access database over into a new database"},
};

int Usage(std::FILE* out)
{
    std::fprintf(out, "usage: mrvctl COMMAND [ARGS...]\n\ncommands:\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  %-13s %s\n", c.name, c.summary);
    std::fprintf(out, "\n'mrvctl COMMAND --help' describes a command.\n");
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail with EFBIG, which is reported like a full disk,
    // instead of ending the program with the earlier files' replacements half done.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2)
        return Usage(stderr);
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help"))
        return Usage(stdout);
    for (const Command& c : kCommands)
        if (!std::strcmp(argv[1], c.name))
            return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "mrvctl: unknown command '%s'\n", argv[1]);
    return Usage(stderr);
}
