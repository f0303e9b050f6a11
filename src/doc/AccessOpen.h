#pragma once
// What the window does with an Access file the user chooses where a database of ours is
// expected: offers to carry it over once into "<name>.db" beside it (or where the user says
// when that folder cannot be written), shows the report, and hands back the new database;
// an earlier conversion there is opened instead, after asking. The Access file is only read.
#include "db/AccessConverter.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

class Prompter;

struct AccessOpenContext {
    Prompter& prompter;
    std::string codePage = "GBK"; // of Access 97 text
    std::string fallbackDir;      // offered when the Access file's folder cannot be written
    std::string title;            // the command's caption
    std::function<void(bool)> busy = [](bool) {}; // wait cursor around the long steps
};

// The database of ours to open in place of `accessPath`, or none when the user declined or
// the file could not be carried over (after a message saying why).
std::optional<std::string> OfferAccessConversion(const std::string& accessPath, AccessKind kind,
                                                 const AccessOpenContext& context);

// A "testmeter.mdb" (test results kept in Access) in one of `folders`, offered for the test
// database `testDb` (a file or a server's URL) while that holds no results. True when the
// offer was made (answered either way), so that it is made once.
bool OfferAccessTestResults(const std::vector<std::string>& folders, const std::string& testDb,
                            const AccessOpenContext& context);

// The filter of the database choosers: our files, and Access files to carry over.
std::string DatabaseFileFilter();

} // namespace mrv
