#include "doc/ServerDatabaseForm.h"

#include "db/DatabaseBackend.h"

#include <QCoreApplication>
#include <QString>

#include <cstdlib>

namespace mrv {

ServerDatabaseFields ServerDatabaseFields::From(const std::string& remembered)
{
    ServerDatabaseFields f;
    if (ServerUrlParts(remembered, f.host, f.port, f.database, f.user))
        return f;
    f = ServerDatabaseFields{};
    if (const char* login = std::getenv("USER"))
        f.user = login;
    return f;
}

std::string ServerDatabaseFields::ConnectString() const
{
    return ServerUrl(TrimBlanks(host), TrimBlanks(port), TrimBlanks(database), TrimBlanks(user));
}

std::optional<ServerFieldRefusal> CheckServerDatabaseFields(const ServerDatabaseFields& f)
{
    if (TrimBlanks(f.host).empty())
        return ServerFieldRefusal{
            "Host", QCoreApplication::translate("mrv::ServerDatabaseForm",
                                                "Host: type the name or address of the server.")
                        .toStdString()};
    const std::string port = TrimBlanks(f.port);
    if (!port.empty()) {
        bool ok = false;
        // Parsed as digits only, whatever the user's locale.
        const int n = QString::fromStdString(port).toInt(&ok, 10);
        if (!ok || n < 1 || n > 65535 || port.find_first_not_of("0123456789") != std::string::npos)
            return ServerFieldRefusal{"Port",
                                      QCoreApplication::translate("mrv::ServerDatabaseForm",
                                                                  "Port: a number from 1 to 65535.")
                                          .toStdString()};
    }
    if (TrimBlanks(f.database).empty())
        return ServerFieldRefusal{
            "Database", QCoreApplication::translate("mrv::ServerDatabaseForm",
                                                    "Database: type the name of the database.")
                            .toStdString()};
    return std::nullopt;
}

std::string RememberedDatabaseName(const std::string& nameOrUrl)
{
    const DatabaseTarget t = ParseDatabaseTarget(nameOrUrl);
    if (!t.backend || t.backend->needsFile || t.password.empty())
        return nameOrUrl;
    return ServerUrl(t.host, t.port, t.database, t.user);
}

} // namespace mrv
