#include "ui/app/CServerDbDlg.h"

#include "base/Prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace mrv {

CServerDbDlg::CServerDbDlg(const ServerDatabaseFields& fields, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setWindowTitle("Open Server Database");
    setObjectName("ServerDbDlg");
    const auto edit = [this](const std::string& text, const char* name, const char* label) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        e->setAccessibleName(label);
        return e;
    };
    m_host = edit(fields.host, "ServerHost", "Host");
    m_port = edit(fields.port, "ServerPort", "Port");
    m_database = edit(fields.database, "ServerDatabase", "Database");
    m_user = edit(fields.user, "ServerUser", "User");
    m_host->setMinimumWidth(260);
    m_host->setToolTip("Name or address of the PostgreSQL server, or the folder of its socket");
    m_port->setMaxLength(5);
    m_user->setToolTip("Empty: the login name. The password comes from PGPASSWORD or "
                       "~/.pgpass, or is asked for when the server wants one.");

    auto* form = new QFormLayout;
    const auto row = [&](const char* text, QLineEdit* e) {
        auto* label = new QLabel(text, this);
        label->setBuddy(e);
        form->addRow(label, e);
    };
    row("&Host:", m_host);
    row("&Port:", m_port);
    row("&Database:", m_database);
    row("&User:", m_user);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(buttons);
    (fields.database.empty() ? m_database : m_host)->setFocus();
}

ServerDatabaseFields CServerDbDlg::Fields() const
{
    ServerDatabaseFields f;
    f.host = m_host->text().toStdString();
    f.port = m_port->text().toStdString();
    f.database = m_database->text().toStdString();
    f.user = m_user->text().toStdString();
    return f;
}

void CServerDbDlg::accept()
{
    if (const auto refusal = CheckServerDatabaseFields(Fields())) {
        m_prompter.Message(refusal->text, "Open Server Database", MsgIcon::Warning,
                           MsgButtons::Ok);
        for (QLineEdit* e : {m_host, m_port, m_database, m_user})
            if (e->accessibleName().toStdString() == refusal->field) {
                e->setFocus();
                e->selectAll();
            }
        return;
    }
    QDialog::accept();
}

} // namespace mrv
