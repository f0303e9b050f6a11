#include "ui/edit/CQueryDlg.h"

#include "base/Prompter.h"
#include "base/Records.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"
#include "ui/edit/EditFields.h"
#include "ui/view/CFilterEdit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace mrv {

CQueryDlg::CQueryDlg(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setObjectName("QueryDlg");
    setWindowTitle(tr("Query"));
    m_meterId = MakeDigitField(this, "queryMeterId", tr("Meter ID"), 2, true);
    m_meterId2 = MakeTextField(this, "queryMeterId2", tr("Meter ID2"), MeterRecord::kNumWidth);
    m_userAddr = MakeShownField(this, "queryUserAddr", tr("User Addr"));
    m_blockId = MakeShownField(this, "queryBlockId", tr("Block ID"));
    m_blockName = MakeShownField(this, "queryBlockName", tr("Block Name"));
    m_hhuId = MakeShownField(this, "queryHhuId", tr("HHU ID"));
    m_hhuDesp = MakeShownField(this, "queryHhuDesp", tr("HHU Desp"));
    m_meterId->setFixedWidth(40);
    m_meterId2->setFixedWidth(130);
    m_userAddr->setMinimumWidth(260);
    m_blockId->setFixedWidth(60);
    m_hhuId->setFixedWidth(60);

    auto* form = new QFormLayout;
    AddFormRow(form, tr("Meter ID"), m_meterId);
    AddFormRow(form, tr("Meter ID2"), m_meterId2);
    AddFormRow(form, tr("User Addr"), m_userAddr);
    AddFormRow(form, tr("Block ID"), m_blockId);
    AddFormRow(form, tr("Block Name"), m_blockName);
    AddFormRow(form, tr("HHU ID"), m_hhuId);
    AddFormRow(form, tr("HHU Desp"), m_hhuDesp);

    m_note = new QLabel(this);
    m_note->setObjectName("queryNote");
    m_note->setAccessibleName(tr("Query result"));
    m_previous = MakeStepButton(this, "queryPrevious", "<<", tr("Previous match"));
    m_next = MakeStepButton(this, "queryNext", ">>", tr("Next match"));
    auto* steps = new QHBoxLayout;
    steps->addWidget(m_note, 1);
    for (QPushButton* b : {m_previous, m_next}) {
        b->setEnabled(false);
        steps->addWidget(b);
    }
    form->addRow(steps);
    connect(m_previous, &QPushButton::clicked, this, [this] { ShowMatch(m_index - 1); });
    connect(m_next, &QPushButton::clicked, this, [this] { ShowMatch(m_index + 1); });
    connect(m_meterId, &QLineEdit::textEdited, this, [this] { OnEdited(1); });
    connect(m_meterId2, &QLineEdit::textEdited, this, [this] { OnEdited(2); });

    auto* buttons = new QDialogButtonBox(this);
    m_query = buttons->addButton(tr("Query", "button"), QDialogButtonBox::ActionRole);
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

void CQueryDlg::OnEdited(int field)
{
    m_lastFilled = field;
    m_matches.clear();
    m_note->clear();
    m_previous->setEnabled(false);
    m_next->setEnabled(false);
}

void CQueryDlg::OnQuery()
{
    // An empty field is not looked for: it would find any meter whose number is empty.
    const auto lookup = QueryLookup(m_lastFilled, m_meterId->text().toStdString(),
                                    m_meterId2->text().toStdString());
    m_matches.clear();
    if (lookup) {
        m_lookup = *lookup;
        m_matches = m_doc.GetDatabase().FindMeters(lookup->text, lookup->column);
    }
    // What an earlier lookup showed never stands beside this meter.
    ClearResult();
    m_note->clear();
    m_previous->setEnabled(false);
    m_next->setEnabled(false);
    if (m_matches.empty()) {
        m_doc.GetPrompter().Message(tr("No Meter!").toStdString(), "", MsgIcon::None,
                                    MsgButtons::Ok);
        return;
    }
    ShowMatch(0);
}

void CQueryDlg::ShowMatch(int index)
{
    if (index < 0 || index >= int(m_matches.size()))
        return;
    m_index = index;
    const MeterRecord& found = m_matches[std::size_t(index)];
    ClearResult();
    // The field looked up keeps what was typed; the other shows the meter's, and the note
    // says why.
    if (m_lookup.column == 1) {
        m_meterId->setText(QString::fromStdString(m_lookup.text));
        m_meterId2->setText(QString::fromStdString(found.property_num));
    } else {
        m_meterId->setText(QString::fromStdString(found.meter_num));
    }
    m_note->setText(QString::fromStdString(QueryMatchNote(m_lookup, index, int(m_matches.size()))));
    m_previous->setEnabled(index > 0);
    m_next->setEnabled(index + 1 < int(m_matches.size()));
    m_userAddr->setText(QString::fromStdString(found.meter_address));
    m_blockId->setText(IdText(found.district_id));
    // A Block or HHU the document does not hold leaves its fields empty.
    for (const BlockRecord& b : m_doc.Blocks()) {
        if (b.district_id != found.district_id)
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
