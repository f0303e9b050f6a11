#pragma once
// "Open Server Database": where the database on a PostgreSQL server is. OK checks the form
// (ServerDatabaseForm) and names a wrong field; the password is never typed here.
#include "doc/ServerDatabaseForm.h"

#include <QDialog>

class QLineEdit;

namespace mrv {

class Prompter;

class CServerDbDlg : public QDialog {
    Q_OBJECT
public:
    CServerDbDlg(const ServerDatabaseFields& fields, Prompter& prompter,
                 QWidget* parent = nullptr);

    // What the user typed (after OK: checked).
    ServerDatabaseFields Fields() const;

protected:
    void accept() override;

private:
    Prompter& m_prompter;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QLineEdit* m_database;
    QLineEdit* m_user;
};

} // namespace mrv
