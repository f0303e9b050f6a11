#pragma once
// Small helpers for the database tests: an independent look at a database file.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <string>
#include <vector>

namespace mrv::test {

// Every row of `sql` on the SQLite file at `path`, each column as text ("<null>" for NULL),
// read through a connection of its own so that the code under test is not used to check
// itself.
inline std::vector<std::vector<std::string>> QueryRows(const std::string& path,
                                                       const std::string& sql)
{
    std::vector<std::vector<std::string>> rows;
    const QString name = QStringLiteral("dbtest.check");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QString::fromStdString(path));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QString::fromStdString(sql))) {
                while (q.next()) {
                    std::vector<std::string> row;
                    for (int i = 0; i < q.record().count(); ++i)
                        row.push_back(q.value(i).isNull() ? "<null>"
                                                          : q.value(i).toString().toStdString());
                    rows.push_back(row);
                }
            } else {
                rows.push_back({"<error> " + q.lastError().text().toStdString()});
            }
        } else {
            rows.push_back({"<error> " + db.lastError().text().toStdString()});
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// The column names of `table` in their order.
inline std::vector<std::string> ColumnsOf(const std::string& path, const std::string& table)
{
    std::vector<std::string> names;
    for (const auto& row : QueryRows(path, "select name from pragma_table_info('" + table + "')"))
        names.push_back(row.at(0));
    return names;
}

} // namespace mrv::test
