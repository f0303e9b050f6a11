#pragma once
// The form of "Open Server Database": where a database on a PostgreSQL server is (host, port,
// database, user), checked before it is used, and the connection string it makes. No password
// field: libpq finds it (PGPASSWORD, ~/.pgpass) or the user is asked when the server wants
// one, so it never reaches the profile.
#include <optional>
#include <string>

namespace mrv {

struct ServerDatabaseFields {
    std::string host = "localhost";
    std::string port = "5432";
    std::string database;
    std::string user;

    // The fields of a remembered server connection string; the defaults (and the login name
    // as user) when `remembered` names no server.
    static ServerDatabaseFields From(const std::string& remembered);
    // "postgresql://user@host:port/database".
    std::string ConnectString() const;
};

// Which field is wrong and why, or nothing when the form can be used. `field` is the label of
// the field as written ("Host", "Port", "Database", "User"), never translated; `text` is in the
// program's language.
struct ServerFieldRefusal {
    std::string field;
    std::string text;
};
std::optional<ServerFieldRefusal> CheckServerDatabaseFields(const ServerDatabaseFields& fields);

// What the profile may keep of a database name: a file path as it is, a server's connection
// string without its password.
std::string RememberedDatabaseName(const std::string& nameOrUrl);

} // namespace mrv
