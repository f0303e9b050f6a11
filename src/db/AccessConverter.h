#pragma once
// Carries an existing Access installation, energy or test database over into a database of
// ours, once. The Access file is only ever read (mdbtools' libmdb, opened read-only): Access
// 97 (Jet 3, its text in a Windows code page, GBK unless told otherwise), 2000 and 2002-2003
// (Jet 4, Unicode text), and whatever newer files libmdb can read.
//
// Reading and writing are two steps so that the user sees what would be carried over before
// anything is written: ReadAccessFile maps the columns by name and checks every value as the
// dialogs check what is typed; a row that does not fit is named in the report, never cut or
// dropped in silence, and WriteAccessConversion refuses to write a reading with such rows
// unless the report was accepted (then the rows that fit are written).
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace mrv {

class Prompter;

enum class AccessKind { Unknown, Installation, Energy, Test };

// "installation", "energy", "test" (empty for Unknown), and back; Unknown for any other text.
const char* AccessKindName(AccessKind kind);
AccessKind AccessKindFromName(const std::string& name);

struct AccessOptions {
    AccessKind kind = AccessKind::Unknown; // Unknown: told by the tables the file holds
    // The code page of Jet 3 text (an iconv name); Jet 4 and newer files hold Unicode.
    std::string jet3CodePage = "GBK";
};

// A value that could not be carried over.
struct AccessProblem {
    std::string table;
    long row = 0; // 1 for the first row of the Access table, in its own order
    std::string column;
    std::string value; // as the Access file holds it (UTF-8); "(NULL)" for none
    std::string reason;
};

struct AccessTableReport {
    std::string table;
    long rows = 0;    // rows the Access table holds
    long carried = 0; // rows that fit
    std::vector<std::string> extraColumns; // columns of the Access table we have no use for
};

struct AccessReport {
    std::string file;   // the Access file as named
    std::string format; // "Access 97", "Access 2000-2003", "Access 2007 or newer"
    AccessKind kind = AccessKind::Unknown;
    std::vector<AccessTableReport> tables;
    std::vector<AccessProblem> problems;

    bool AllFit() const { return problems.empty(); }
    // Plain lines for a terminal and a dialog: what comes over per table, the columns left
    // out, then each row that does not fit.
    std::string Text() const;
};

// The rows of a file as they will be written, with the report on them.
class AccessConversion {
public:
    AccessConversion();
    ~AccessConversion();
    AccessConversion(AccessConversion&&) noexcept;
    AccessConversion& operator=(AccessConversion&&) noexcept;

    const AccessReport& Report() const { return m_report; }

    struct Rows; // the checked rows, kept for the writer

private:
    friend AccessConversion ReadAccessFile(const std::string&, const AccessOptions&, std::string&);
    friend bool WriteAccessConversion(const AccessConversion&, const std::string&, bool,
                                      Prompter&, std::string&);
    AccessReport m_report;
    std::unique_ptr<Rows> m_rows;
};

// Reads and checks the whole file. On failure `error` says plainly why (not an Access file,
// damaged, encrypted or of a format that cannot be read, not one of our kinds, a table or
// column missing) and the result's report has kind Unknown.
AccessConversion ReadAccessFile(const std::string& path, const AccessOptions& options,
                                std::string& error);

// Writes the conversion into `target`: a new database file, which appears only when complete,
// or an existing database (a file of this kind, or a database on a server given by its URL)
// whose tables of this kind are empty. Everything goes in one transaction. A conversion whose report has
// problems is written only when `accepted`, and then without the rows named there. False
// with `error` set (or a database failure shown through `prompter`) when nothing was written.
bool WriteAccessConversion(const AccessConversion& conversion, const std::string& target,
                           bool accepted, Prompter& prompter, std::string& error);

// Whether `path` names an Access file by its name (.mdb or .accdb, any case).
bool IsAccessFileName(const std::string& path);

// "<folder>/<name>.db" beside an Access file "<folder>/<name>.mdb".
std::string ConvertedDatabaseName(const std::string& accessPath);

} // namespace mrv
