#include "ui/edit/CBlockDlg.h"

#include "base/Prompter.h"
#include "doc/EditForm.h"
#include "ui/edit/EditFields.h"
#include "ui/view/CFilterEdit.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

namespace mrv {

CBlockDlg::CBlockDlg(Purpose purpose, const BlockRecord& block, const std::string& constantText,
                     const HhuList& hhus, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_purpose(purpose), m_prompter(prompter), m_id(block.district_id)
{
    setObjectName("BlockDlg");
    setWindowTitle(purpose == Add ? tr("Block--Add") : tr("Block--Modify"));
    m_idEdit = MakeDigitField(this, kBlockIdField.name.data(), tr("Block ID"), 4, false,
                              QString::number(block.district_id));
    if (purpose == Modify)
        ShowReadOnly(m_idEdit);
    m_idEdit->setFixedWidth(60);
    m_name = MakeTextField(this, "blockName", tr("Block Name"), BlockRecord::kNameWidth,
                           QString::fromStdString(block.district_name));
    m_name->setMinimumWidth(160);

    m_hhu = new QComboBox(this);
    m_hhu->setObjectName("blockHhu");
    m_hhu->setAccessibleName(tr("HHU ID"));
    m_hhu->setEditable(false);
    for (const HhuRecord& h : hhus)
        m_hhu->addItem(IdText(h.land_id), h.land_id);
    int row = m_hhu->findData(block.land_id);
    // A Block modified while its HHU is gone keeps it unless another is chosen: a silent move
    // to the first HHU would change what the user did not touch.
    if (row < 0 && purpose == Modify) {
        m_hhu->addItem(IdText(block.land_id), block.land_id);
        row = m_hhu->count() - 1;
    }
    m_hhu->setCurrentIndex(row < 0 ? 0 : row);
    m_hhu->setFixedWidth(80);

    m_constant = MakeDigitField(this, "blockConstant", tr("Constant"), 6, false,
                                QString::fromStdString(constantText));
    m_constant->setFixedWidth(80);
    m_presetConstant = m_constant->text();

    auto* form = new QFormLayout;
    AddFormRow(form, tr("Block ID"), m_idEdit);
    AddFormRow(form, tr("Block Name"), m_name);
    AddFormRow(form, tr("HHU ID"), m_hhu);
    AddFormRow(form, tr("Constant"), m_constant);
    LayOutDialog(this, form, OkCancelButtons(this),
                 purpose == Add ? static_cast<QLineEdit*>(m_idEdit) : m_name);
}

BlockRecord CBlockDlg::Block() const
{
    BlockRecord b;
    b.district_id = m_id;
    b.district_name = m_name->text().toStdString();
    b.land_id = m_hhu->currentData().toInt();
    b.district_para = ConstantInRange(ConstantTextToValue(m_constant->text().toStdString()));
    return b;
}

void CBlockDlg::accept()
{
    if (m_purpose == Add) {
        const auto id = TakeNumber(m_prompter, m_idEdit, kBlockIdField);
        if (!id ||
            RefuseIdInUse(m_prompter, m_idEdit, kBlockIdField, std::int32_t(*id), m_idsInUse))
            return;
        m_id = std::int32_t(*id);
    }
    // A constant the user typed is checked; one shown as it was read (from the database or
    // the parameters) keeps the range rule's replacement.
    if (m_constant->text() != m_presetConstant) {
        if (const auto refusal = CheckConstantText(m_constant->text().toStdString())) {
            RefuseField(m_prompter, m_constant, *refusal);
            return;
        }
    }
    if (m_hhu->currentIndex() < 0) {
        m_prompter.Message(tr("Please Set HHU First!").toStdString(), "", MsgIcon::None,
                           MsgButtons::Ok);
        return;
    }
    QDialog::accept();
}

} // namespace mrv
