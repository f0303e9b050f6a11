#pragma once
// Creation of the three kinds of database, on a file or on a server, and the connection
// string the program uses for a database file. Columns stand in the order the record sets read them by position.
#include <optional>
#include <string>
#include <vector>

namespace mrv {

class Prompter;

// "DRIVER={...};DBQ=<path>" for a database file.
std::string DatabaseConnectString(const std::string& path);
// The DBQ path of a connection string; a string without any "key=value" is taken as the path.
std::string DatabasePathOf(const std::string& connect);

// Each creates the tables the database lacks (`land`, `district` and `meter`; `energy`;
// `test`), leaving existing tables and rows alone. `database` is a file path (the file is
// created when missing) or a server's connection string (the database must exist on the
// server; it may be empty). 1, or 0 after a reported failure.
int CreateInstallationSchema(const std::string& database, Prompter& prompter);
int CreateEnergySchema(const std::string& database, Prompter& prompter);
int CreateTestSchema(const std::string& database, Prompter& prompter);

// The tables of each kind of database, as the functions above create them.
const std::vector<std::string>& InstallationTables(); // land, district, meter
const std::vector<std::string>& EnergyTables();       // energy
const std::vector<std::string>& TestTables();         // test

// Which of `tables` the database (a file path or a server's connection string) holds; nothing
// after a reported failure to open it. A file that does not exist is reported.
std::optional<std::vector<std::string>> TablesPresent(const std::string& database,
                                                      const std::vector<std::string>& tables,
                                                      Prompter& prompter);

} // namespace mrv
