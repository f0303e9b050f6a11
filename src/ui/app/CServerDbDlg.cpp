#include "ui/app/CServerDbDlg.h"

#include "base/Prompter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace mrv {

namespace {

constexpr const char* kFieldProperty = "serverField";

} // namespace

CServerDbDlg::CServerDbDlg(const ServerDatabaseFields& fields, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setWindowTitle(tr("Open Server Database"));
    setObjectName("ServerDbDlg");
    // `field` is the name the field check gives a refused field; the accessible name is shown.
    const auto edit = [this](const std::string& text, const char* name, const char* field,
                             const QString& label) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setObjectName(name);
        e->setProperty(kFieldProperty, QString::fromLatin1(field));
        e->setAccessibleName(label);
        return e;
    };
    m_host = edit(fields.host, "ServerHost", "Host", tr("Host"));
    m_port = edit(fields.port, "ServerPort", "Port", tr("Port"));
    m_database = edit(fields.database, "ServerDatabase", "Database", tr("Database"));
    m_user = edit(fields.user, "ServerUser", "User", tr("User"));
    m_host->setMinimumWidth(260);
    m_host->setToolTip(tr("Name or address of the PostgreSQL server, or the folder of its socket"));
    m_port->setMaxLength(5);
    m_user->setToolTip(tr("Empty: the login name. The password comes from PGPASSWORD or "
                          "~/.pgpass, or is asked for when the server wants one."));

    auto* form = new QFormLayout;
    const auto row = [&](const QString& text, QLineEdit* e) {
        auto* label = new QLabel(text, this);
        label->setBuddy(e);
        form->addRow(label, e);
    };
    row(tr("&Host:"), m_host);
    row(tr("&Port:"), m_port);
    row(tr("&Database:"), m_database);
    row(tr("&User:"), m_user);

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
        m_prompter.Message(refusal->text, tr("Open Server Database").toStdString(),
                           MsgIcon::Warning, MsgButtons::Ok);
        for (QLineEdit* e : {m_host, m_port, m_database, m_user})
            if (e->property(kFieldProperty).toString().toStdString() == refusal->field) {
                e->setFocus();
                e->selectAll();
            }
        return;
    }
    QDialog::accept();
}

} // namespace mrv
