#include "ui/edit/CMeterModifyDlg.h"

#include "doc/EditForm.h"
#include "doc/MeterBatch.h"
#include "ui/edit/EditFields.h"
#include "ui/view/CFilterEdit.h"

#include <QFormLayout>
#include <QLineEdit>

#include <algorithm>

namespace mrv {

CMeterModifyDlg::CMeterModifyDlg(const MeterRecord& meter, const BlockList& blocks,
                                 Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_blocks(blocks), m_prompter(prompter), m_meter(meter)
{
    setObjectName("MeterModifyDlg");
    setWindowTitle(tr("Meter--Modify"));
    m_meterId = MakeDigitField(this, "meterId", tr("Meter ID"), int(kMeterIdWidth), false,
                               QString::fromStdString(meter.meter_num));
    m_meterId2 = MakeTextField(this, "meterId2", tr("Meter ID2"), MeterRecord::kNumWidth,
                               QString::fromStdString(meter.property_num));
    m_userAddr = MakeTextField(this, "meterAddress", tr("User Addr"), MeterRecord::kAddressWidth,
                               QString::fromStdString(meter.meter_address));
    m_blockId = new QLineEdit(QString::number(meter.district_id), this);
    m_blockId->setObjectName(kMeterBlockIdField.name.data());
    m_blockId->setAccessibleName(tr("Block ID"));
    m_meterId->setFixedWidth(40);
    m_meterId2->setFixedWidth(130);
    m_userAddr->setMinimumWidth(260);
    m_blockId->setFixedWidth(60);

    auto* form = new QFormLayout;
    AddFormRow(form, tr("Meter ID"), m_meterId);
    AddFormRow(form, tr("Meter ID2"), m_meterId2);
    AddFormRow(form, tr("User Addr"), m_userAddr);
    AddFormRow(form, tr("Block ID"), m_blockId);
    LayOutDialog(this, form, OkCancelButtons(this), m_meterId);
}

void CMeterModifyDlg::accept()
{
    const std::string meterId = m_meterId->text().toStdString();
    if (const auto refusal = CheckMeterId(meterId)) {
        RefuseField(m_prompter, m_meterId, *refusal);
        return;
    }
    const auto block = TakeNumber(m_prompter, m_blockId, kMeterBlockIdField);
    if (!block)
        return;
    // A meter moved to a Block that does not exist would drop out of every list.
    const bool known = *block == m_meter.district_id ||
                       std::any_of(m_blocks.begin(), m_blocks.end(),
                                   [&](const BlockRecord& b) { return b.district_id == *block; });
    if (!known) {
        RefuseField(m_prompter, m_blockId,
                    tr("There is no Block %1.").arg(IdText(*block)).toStdString());
        return;
    }
    MeterRecord meter = m_meter;
    meter.meter_num = TwoDigitMeterId(meterId);
    meter.property_num = m_meterId2->text().toStdString();
    meter.meter_address = m_userAddr->text().toStdString();
    meter.district_id = std::int32_t(*block);
    if (m_check && !m_check(meter))
        return;
    m_meter = meter;
    QDialog::accept();
}

} // namespace mrv
