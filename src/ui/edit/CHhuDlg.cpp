#include "ui/edit/CHhuDlg.h"

#include "base/Records.h"
#include "doc/EditForm.h"
#include "ui/edit/EditFields.h"
#include "ui/view/CFilterEdit.h"

#include <QFormLayout>
#include <QLineEdit>

namespace mrv {

CHhuDlg::CHhuDlg(Purpose purpose, std::int32_t id, const std::string& description,
                 Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_purpose(purpose), m_prompter(prompter), m_id(id)
{
    setObjectName("HhuDlg");
    setWindowTitle(purpose == Add ? tr("HHU--Add") : tr("HHU--Modify"));
    m_idEdit =
        MakeDigitField(this, kHhuIdField.name.data(), tr("HHU ID"), 4, false, QString::number(id));
    if (purpose == Modify)
        ShowReadOnly(m_idEdit);
    m_idEdit->setFixedWidth(60);
    m_description =
        MakeTextField(this, "hhuDescription", tr("Description"), HhuRecord::kDescriptionWidth,
                      QString::fromStdString(description));
    m_description->setMinimumWidth(180);

    auto* form = new QFormLayout;
    AddFormRow(form, tr("HHU ID"), m_idEdit);
    AddFormRow(form, tr("Description"), m_description);
    LayOutDialog(this, form, OkCancelButtons(this),
                 purpose == Add ? static_cast<QLineEdit*>(m_idEdit) : m_description);
}

std::string CHhuDlg::Description() const
{
    return m_description->text().toStdString();
}

void CHhuDlg::accept()
{
    // A modified HHU keeps its id, whatever an older database gave it.
    if (m_purpose == Add) {
        const auto id = TakeNumber(m_prompter, m_idEdit, kHhuIdField);
        if (!id || RefuseIdInUse(m_prompter, m_idEdit, kHhuIdField, std::int32_t(*id), m_idsInUse))
            return;
        m_id = std::int32_t(*id);
    }
    QDialog::accept();
}

} // namespace mrv
