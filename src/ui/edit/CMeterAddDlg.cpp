#include "ui/edit/CMeterAddDlg.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "base/Records.h"
#include "doc/EditForm.h"
#include "ui/edit/EditFields.h"
#include "ui/view/CFilterEdit.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace mrv {

CMeterAddDlg::CMeterAddDlg(const MeterBatch& preset, std::int32_t blockId, Prompter& prompter,
                           QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_batch(preset),
      m_addresses(MeterBatch::kMaxCount, QStringLiteral("xxx"))
{
    setObjectName("MeterAddDlg");
    setWindowTitle(tr("Meter--Add"));
    m_batch.count = std::clamp(m_batch.count, 1, MeterBatch::kMaxCount);

    m_idFrom = MakeDigitField(this, "idFrom", tr("ID from"), 2, false,
                              QString::fromStdString(m_batch.idFrom));
    m_prefix = MakeTextField(this, "id2Prefix", tr("ID2 from (prefix)"), kId2PrefixWidth,
                             QString::fromStdString(m_batch.prefix));
    m_number = MakeDigitField(this, "id2Number", tr("ID2 from (number)"),
                              int(Id2NumberLimit(m_batch.prefix)), false,
                              QString::fromStdString(m_batch.number));
    m_count = MakeDigitField(this, kMeterCountField.name.data(), tr("Number(<=100)"), 3, false,
                             QString::number(m_batch.count));
    auto* block = MakeShownField(this, "meterAddBlockId", tr("Block ID"), IdText(blockId));
    m_meterId = MakeShownField(this, "meterIdPreview", tr("Meter ID"));
    m_meterId2 = MakeShownField(this, "meterId2Preview", tr("Meter ID2"));
    m_userAddr = MakeTextField(this, "userAddr", tr("User Addr"), MeterRecord::kAddressWidth);
    m_userAddr->setMinimumWidth(260);
    m_previous = MakeStepButton(this, "previousMeter", "<<", tr("Previous meter"));
    m_next = MakeStepButton(this, "nextMeter", ">>", tr("Next meter"));
    m_idFrom->setFixedWidth(40);
    m_prefix->setFixedWidth(80);
    m_number->setFixedWidth(130);
    m_count->setFixedWidth(50);
    block->setFixedWidth(60);
    m_meterId->setFixedWidth(40);
    m_meterId2->setFixedWidth(130);

    auto* batch = new QFormLayout;
    AddFormRow(batch, tr("ID from"), m_idFrom);
    auto* id2 = new QHBoxLayout;
    id2->addWidget(m_prefix);
    id2->addWidget(m_number);
    id2->addStretch();
    auto* id2Label = new QLabel(tr("ID2 from"), this);
    id2Label->setBuddy(m_prefix);
    batch->addRow(id2Label, id2);
    AddFormRow(batch, tr("Number(<=100)"), m_count);
    AddFormRow(batch, tr("Block ID"), block);

    m_id2Note = new QLabel(this);
    m_id2Note->setObjectName("id2Note");
    m_id2Note->setAccessibleName(tr("ID2 note"));
    m_id2Note->setWordWrap(true);
    batch->addRow(m_id2Note);
    connect(m_number, &QLineEdit::textEdited, m_id2Note, &QLabel::clear);

    auto* meterBox = new QGroupBox(tr("Meter"), this);
    meterBox->setObjectName("meterBox");
    auto* meter = new QFormLayout(meterBox);
    AddFormRow(meter, tr("Meter ID"), m_meterId);
    AddFormRow(meter, tr("Meter ID2"), m_meterId2);
    AddFormRow(meter, tr("User Addr"), m_userAddr);
    auto* steps = new QHBoxLayout;
    steps->addStretch();
    steps->addWidget(m_previous);
    steps->addWidget(m_next);
    meter->addRow(steps);

    auto* body = new QVBoxLayout;
    body->addLayout(batch);
    body->addWidget(meterBox);
    LayOutDialog(this, body, OkCancelButtons(this), m_idFrom);

    m_userAddr->setText(m_addresses[0]);
    Refresh(0);
    connect(m_previous, &QPushButton::clicked, this, [this] { Refresh(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { Refresh(+1); });
    for (QLineEdit* e :
         {static_cast<QLineEdit*>(m_idFrom), m_prefix, static_cast<QLineEdit*>(m_number)})
        connect(e, &QLineEdit::textChanged, this, [this] { Refresh(0); });
    connect(m_count, &QLineEdit::textChanged, this, &CMeterAddDlg::OnCountChanged);
    // Each change of the User Addr is the current meter's at once.
    connect(m_userAddr, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_refreshing)
            m_addresses[std::size_t(m_index)] = text;
    });
}

void CMeterAddDlg::ReadBack()
{
    m_batch.idFrom = m_idFrom->text().toStdString();
    m_batch.prefix = m_prefix->text().toStdString();
    m_batch.number = m_number->text().toStdString();
}

void CMeterAddDlg::Refresh(int step)
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    ReadBack();
    m_addresses[std::size_t(m_index)] = m_userAddr->text();
    m_index = std::clamp(step == 0 ? 0 : m_index + step, 0, m_batch.count - 1);
    m_userAddr->setText(m_addresses[std::size_t(m_index)]);

    // Prefix and number make one ID2 of at most 12: a number that no longer fits after the
    // prefix grew starts again from 00.
    const std::size_t limit = Id2NumberLimit(m_batch.prefix);
    m_number->SetTypingLimit(int(limit));
    if (GbkWidth(m_batch.number) > limit) {
        m_batch.number = "00";
        m_number->setText("00");
        m_id2Note->setText(tr("The number did not fit after the prefix (an ID2 has at most 12 "
                              "characters) and starts again from 00."));
    }
    m_meterId2->setText(QString::fromStdString(m_batch.Id2(m_index)));
    m_meterId->setText(QString::fromStdString(m_batch.MeterId(m_index)));
    m_previous->setEnabled(m_index != 0);
    m_next->setEnabled(m_index + 1 != m_batch.count);
    m_refreshing = false;
}

void CMeterAddDlg::OnCountChanged()
{
    // An emptied field is being retyped: the count stays until a number stands there.
    if (m_count->text().trimmed().isEmpty())
        return;
    const auto count = ParseFormNumber(kMeterCountField, m_count->text().toStdString());
    if (!count) {
        RefuseField(m_prompter, m_count, FormNumberMessage(kMeterCountField));
        // The field shows the count the batch and its buttons go by.
        const QSignalBlocker quiet(m_count);
        m_count->setText(QString::number(m_batch.count));
        return;
    }
    m_batch.count = int(*count);
    Refresh(0);
}

void CMeterAddDlg::accept()
{
    const auto count = TakeNumber(m_prompter, m_count, kMeterCountField);
    if (!count)
        return;
    if (const auto refusal = CheckIdFrom(m_idFrom->text().toStdString())) {
        RefuseField(m_prompter, m_idFrom, *refusal);
        return;
    }
    if (const auto refusal = CheckId2Number(m_number->text().toStdString())) {
        RefuseField(m_prompter, m_number, *refusal);
        return;
    }
    m_batch.count = int(*count);
    ReadBack();
    m_addresses[std::size_t(m_index)] = m_userAddr->text();
    if (m_check && !m_check(m_batch))
        return;
    QDialog::accept();
}

std::vector<std::string> CMeterAddDlg::Addresses() const
{
    std::vector<std::string> out;
    for (int k = 0; k < m_batch.count; ++k)
        out.push_back(m_addresses[std::size_t(k)].toStdString());
    return out;
}

} // namespace mrv
