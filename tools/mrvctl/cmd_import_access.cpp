// mrvctl import-access: carries an existing Access installation, energy or test database over
// into a new database of ours, printing what came over per table and what could not.
#include "Commands.h"
#include "StderrPrompter.h"

#include "db/AccessConverter.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintUsage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: mrvctl import-access SOURCE.mdb --to TARGET [--kind installation|energy|test]\n"
                 "                            [--code-page NAME] [--accept]\n"
                 "\n"
                 "Carries the rows of an Access database (Access 97, 2000, 2002-2003) over into a\n"
                 "new database: TARGET is a new .db file, or an empty database on a PostgreSQL\n"
                 "server given as postgresql://user@host:port/dbname. The Access file is only read.\n"
                 "The kind of database is told by its tables (land, district, meter; energy; test);\n"
                 "--kind says it when they do not. Access 97 text is read in the code page GBK\n"
                 "unless --code-page names another (an iconv name such as CP1252 or BIG5).\n"
                 "Rows whose values our tables cannot hold (an id outside 1 to 9999, a text too\n"
                 "wide, a constant out of range, a repeated key) are listed; then nothing is\n"
                 "written unless --accept is given, which writes the other rows.\n"
                 "\n"
                 "Exit status: 0 every row came over; 1 some rows could not (written only with\n"
                 "--accept); 2 a usage error, a file that cannot be read or carried over, or a\n"
                 "target that cannot be written.\n");
}

int Usage(const std::string& problem)
{
    std::fprintf(stderr, "mrvctl import-access: %s\n", problem.c_str());
    PrintUsage(stderr);
    return 2;
}

} // namespace

int RunImportAccess(int argc, char** argv)
{
    std::string source, target;
    bool accept = false;
    mrv::AccessOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc && *argv[i + 1];
        if (a == "--help" || a == "-h") {
            PrintUsage(stdout);
            return 0;
        }
        if (a == "--accept") {
            accept = true;
        } else if (a == "--to" || a == "--kind" || a == "--code-page") {
            if (!hasValue)
                return Usage(a + " needs a value");
            const std::string value = argv[++i];
            if (a == "--to") {
                target = value;
            } else if (a == "--code-page") {
                options.jet3CodePage = value;
            } else {
                options.kind = mrv::AccessKindFromName(value);
                if (options.kind == mrv::AccessKind::Unknown)
                    return Usage("--kind is installation, energy or test, not '" + value + "'");
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option '" + a + "'");
        } else if (source.empty()) {
            source = a;
        } else {
            return Usage("one Access file at a time");
        }
    }
    if (source.empty() || target.empty())
        return Usage(source.empty() ? "which Access file?" : "--to names the new database");

    std::string error;
    const mrv::AccessConversion conversion = mrv::ReadAccessFile(source, options, error);
    if (!error.empty()) {
        std::fprintf(stderr, "mrvctl import-access: %s\n", error.c_str());
        return 2;
    }
    const mrv::AccessReport& report = conversion.Report();
    std::fputs(report.Text().c_str(), stdout);
    if (!report.AllFit() && !accept) {
        std::printf("Nothing was written: rerun with --accept to write the rows that fit.\n");
        return 1;
    }
    mrv::StderrPrompter prompter;
    if (!mrv::WriteAccessConversion(conversion, target, accept, prompter, error)) {
        std::fprintf(stderr, "mrvctl import-access: %s\n", error.c_str());
        return 2;
    }
    std::printf("Written to %s.\n", target.c_str());
    return report.AllFit() ? 0 : 1;
}
