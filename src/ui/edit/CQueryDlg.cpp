#include "ui/edit/CQueryDlg.h"

#include "base/Prompter.h"
#include "base/Records.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"
#include "ui/edit/EditFields.h"
#include "ui/view/CFilterEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace mrv {

CQueryDlg::CQueryDlg(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setObjectName("QueryDlg");
    setWindowTitle("Query");
    m_meterId = MakeDigitField(this, "queryMeterId", "Meter ID", 2, true);
    m_meterId2 = MakeTextField(this, "queryMeterId2", "Meter ID2", MeterRecord::kNumWidth);
    m_userAddr = MakeShownField(this, "queryUserAddr", "User Addr");
    m_blockId = MakeShownField(this, "queryBlockId", "Block ID");
    m_blockName = MakeShownField(this, "queryBlockName", "Block Name");
    m_hhuId = MakeShownField(this, "queryHhuId", "HHU ID");
    m_hhuDesp = MakeShownField(this, "queryHhuDesp", "HHU Desp");
    m_meterId->setFixedWidth(40);
    m_meterId2->setFixedWidth(130);
    m_userAddr->setMinimumWidth(260);
    m_blockId->setFixedWidth(60);
    m_hhuId->setFixedWidth(60);

    auto* form = new QFormLayout;
    AddFormRow(form, "Meter ID", m_meterId);
    AddFormRow(form, "Meter ID2", m_meterId2);
    AddFormRow(form, "User Addr", m_userAddr);
    AddFormRow(form, "Block ID", m_blockId);
    AddFormRow(form, "Block Name", m_blockName);
    AddFormRow(form, "HHU ID", m_hhuId);
    AddFormRow(form, "HHU Desp", m_hhuDesp);

    auto* buttons = new QDialogButtonBox(this);
    m_query = buttons->addButton("Query", QDialogButtonBox::ActionRole);
    m_query->setObjectName("queryButton");
    m_query->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(m_query, &QPushButton::clicked, this, &CQueryDlg::OnQuery);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    LayOutDialog(this, form, buttons, m_meterId);
}

void CQueryDlg::ClearResult()
{
    for (QLineEdit* e : {m_userAddr, m_hhuId, m_hhuDesp, m_blockId, m_blockName})
        e->clear();
}

void CQueryDlg::OnQuery()
{
    MeterDatabase& db = m_doc.GetDatabase();
    const std::string meterId = m_meterId->text().toStdString();
    const std::string meterId2 = m_meterId2->text().toStdString();
    // An empty field is not looked for: it would find any meter whose number is empty.
    std::optional<MeterRecord> found;
    if (!meterId.empty())
        found = db.FindMeter(meterId, 1);
    const bool byMeterId = found.has_value();
    if (!found && !meterId2.empty())
        found = db.FindMeter(meterId2, 2);
    // What an earlier lookup showed never stands beside this meter.
    ClearResult();
    if (!found) {
        m_doc.GetPrompter().Message("No Meter!", "", MsgIcon::None, MsgButtons::Ok);
        return;
    }
    if (byMeterId)
        m_meterId2->setText(QString::fromStdString(found->property_num));
    else
        m_meterId->setText(QString::fromStdString(found->meter_num));
    m_userAddr->setText(QString::fromStdString(found->meter_address));
    m_blockId->setText(IdText(found->district_id));
    // A Block or HHU the document does not hold leaves its fields empty.
    for (const BlockRecord& b : m_doc.Blocks()) {
        if (b.district_id != found->district_id)
            continue;
        m_blockName->setText(QString::fromStdString(b.district_name));
        m_hhuId->setText(IdText(b.land_id));
        for (const HhuRecord& h : m_doc.Hhus()) {
            if (h.land_id == b.land_id) {
                m_hhuDesp->setText(QString::fromStdString(h.description));
                break;
            }
        }
        break;
    }
}

} // namespace mrv
