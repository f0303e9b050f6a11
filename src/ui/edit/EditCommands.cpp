#include "ui/edit/EditCommands.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"
#include "doc/EditForm.h"
#include "doc/MeterBatch.h"
#include "ui/edit/CBlockDlg.h"
#include "ui/edit/CHhuDlg.h"
#include "ui/edit/CMeterAddDlg.h"
#include "ui/edit/CMeterModifyDlg.h"
#include "ui/edit/CQueryDlg.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>

namespace mrv {

namespace {

using V = CMrvView;

// The row of `id` in `records` (by `key`), -1 when it has none.
template <class Record>
int RowOf(const std::vector<Record>& records, std::int32_t Record::*key, std::int32_t id)
{
    const auto it =
        std::find_if(records.begin(), records.end(), [&](const Record& r) { return r.*key == id; });
    return it == records.end() ? -1 : int(it - records.begin());
}

// The ids of `records`.
template <class Record>
std::vector<std::int32_t> IdsOf(const std::vector<Record>& records, std::int32_t Record::*key)
{
    std::vector<std::int32_t> ids;
    ids.reserve(records.size());
    for (const Record& r : records)
        ids.push_back(r.*key);
    return ids;
}

// The selected row of a left list when it stands for a record of `records`; -1 otherwise.
template <class Record> int SelectedRecord(CMarkListBox* box, const std::vector<Record>& records)
{
    const int row = box->GetCurSel();
    return row >= 0 && row < int(records.size()) ? row : -1;
}

// The part of the right pane that summarises the selection (the view draws it).
void RepaintSummary(CMrvView& view)
{
    view.update(QRect(view.SplitPos(), 0, view.width() - view.SplitPos(), 120));
}

// The whole view, with the rows of its lists, after records changed in place.
void RepaintAll(CMrvView& view)
{
    view.update();
    for (int id : {V::IdHhuList, V::IdBlockList})
        view.ListBox(id)->viewport()->update();
}

// After HHUs or Blocks were written: the left list of `table` is emptied and the table
// reloaded; then its rows show again with the row `pick` chooses selected, the right list shows
// that record's Blocks or meters (none when no row is chosen), and the controls are placed
// again when `relayout` says the right pane appears or goes. A reload that fails leaves both
// lists empty.
void ReloadLeftList(const ViewCommandArgs& a, int table,
                    const std::function<int(std::size_t rows)>& pick,
                    const std::function<bool(std::size_t rows)>& relayout)
{
    CMrvDoc& doc = *a.doc;
    CMrvView& view = *a.view;
    const bool hhus = table == CMrvDoc::TableHhus;
    CMarkListBox* box = view.ListBox(hhus ? V::IdHhuList : V::IdBlockList);
    CRecordListCtrl* right = view.ListCtrl(hhus ? V::IdHhuBlocks : V::IdMeters);
    box->Model()->Clear();
    if (!doc.LoadTables(table)) {
        right->FillList(0);
        view.update();
        return;
    }
    box->ResetContent();
    const std::size_t rows = hhus ? doc.Hhus().size() : doc.Blocks().size();
    const int row = pick(rows);
    box->SetCurSel(row);
    std::int32_t key = 0;
    if (row >= 0 && std::size_t(row) < rows)
        key = hhus ? doc.Hhus()[std::size_t(row)].land_id
                   : doc.Blocks()[std::size_t(row)].district_id;
    right->FillList(key);
    if (relayout(rows))
        view.LayoutControls();
    view.update();
}

// The row that stands where the deleted one stood: the same index, or the last row.
int RowAfterDelete(int deleted, std::size_t rows)
{
    return rows == 0 ? -1 : std::min(deleted, int(rows) - 1);
}

void AddHhu(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const std::vector<std::int32_t> ids = IdsOf(doc.Hhus(), &HhuRecord::land_id);
    CHhuDlg dlg(CHhuDlg::Add, ProposedId(ids), "xxx", doc.GetPrompter(), a.parent);
    dlg.SetIdsInUse(ids);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const HhuRecord hhu{dlg.Id(),
                        CutUtf8ToGbkWidth(dlg.Description(), HhuRecord::kDescriptionWidth)};
    if (!doc.GetDatabase().InsertHhu(hhu))
        return; // the database has said why
    ReloadLeftList(
        a, CMrvDoc::TableHhus,
        [&](std::size_t) { return RowOf(doc.Hhus(), &HhuRecord::land_id, hhu.land_id); },
        [](std::size_t rows) { return rows == 1; }); // the right pane was hidden
}

void ModifyHhu(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const int row = SelectedRecord(a.view->ListBox(V::IdHhuList), doc.Hhus());
    if (row < 0)
        return;
    const HhuRecord old = doc.Hhus()[std::size_t(row)];
    CHhuDlg dlg(CHhuDlg::Modify, old.land_id, old.description, doc.GetPrompter(), a.parent);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const HhuRecord hhu{old.land_id,
                        CutUtf8ToGbkWidth(dlg.Description(), HhuRecord::kDescriptionWidth)};
    if (!doc.GetDatabase().UpdateHhu(hhu, old.land_id))
        return;
    doc.ReplaceHhu(std::size_t(row), hhu);
    RepaintAll(*a.view);
}

void DeleteHhu(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const int row = SelectedRecord(a.view->ListBox(V::IdHhuList), doc.Hhus());
    if (row < 0)
        return;
    // No question: the menu offers the delete only for an HHU that serves no Block.
    if (!doc.GetDatabase().DeleteHhu(doc.Hhus()[std::size_t(row)].land_id))
        return;
    ReloadLeftList(
        a, CMrvDoc::TableHhus, [row](std::size_t rows) { return RowAfterDelete(row, rows); },
        [](std::size_t rows) { return rows == 0; });
}

void AddBlock(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    Prompter& prompter = doc.GetPrompter();
    if (doc.Hhus().empty()) {
        prompter.Message(
            QCoreApplication::translate("mrv::EditCommands", "Please Set HHU First!").toStdString(),
            "", MsgIcon::None, MsgButtons::Ok);
        return;
    }
    BlockRecord preset;
    const std::vector<std::int32_t> ids = IdsOf(doc.Blocks(), &BlockRecord::district_id);
    preset.district_id = ProposedId(ids);
    preset.district_name = "xxx";
    // The HHU whose Blocks the HHU mode lists.
    preset.land_id = a.view->ListCtrl(V::IdHhuBlocks)->CurrentKey();
    CBlockDlg dlg(CBlockDlg::Add, preset, ConstantValueToText(ConstantValue(doc.m_params.constant)),
                  doc.Hhus(), prompter, a.parent);
    dlg.SetIdsInUse(ids);
    if (dlg.exec() != QDialog::Accepted)
        return;
    BlockRecord block = dlg.Block();
    block.district_name = CutUtf8ToGbkWidth(block.district_name, BlockRecord::kNameWidth);
    if (!doc.GetDatabase().InsertBlock(block))
        return;
    doc.SetDataChanged(1);
    ReloadLeftList(
        a, CMrvDoc::TableBlocks,
        [&](std::size_t) {
            return RowOf(doc.Blocks(), &BlockRecord::district_id, block.district_id);
        },
        [](std::size_t rows) { return rows == 1; });
}

void ModifyBlock(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const int row = SelectedRecord(a.view->ListBox(V::IdBlockList), doc.Blocks());
    if (row < 0)
        return;
    const BlockRecord old = doc.Blocks()[std::size_t(row)];
    CBlockDlg dlg(CBlockDlg::Modify, old, ConstantValueToText(old.district_para), doc.Hhus(),
                  doc.GetPrompter(), a.parent);
    if (dlg.exec() != QDialog::Accepted)
        return;
    BlockRecord block = dlg.Block();
    block.district_name = CutUtf8ToGbkWidth(block.district_name, BlockRecord::kNameWidth);
    if (!doc.GetDatabase().UpdateBlock(block, old.district_id))
        return;
    doc.SetDataChanged(1);
    doc.ReplaceBlock(std::size_t(row), block);
    RepaintAll(*a.view);
}

// Lets the emptied meter list show before the Block goes, without taking input meanwhile.
void PauseShowing(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void DeleteBlock(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const int row = SelectedRecord(a.view->ListBox(V::IdBlockList), doc.Blocks());
    if (row < 0)
        return;
    if (doc.GetPrompter().Message(
            QCoreApplication::translate("mrv::EditCommands",
                                        "Should delete all meter belong to this block!\nContinue?")
                .toStdString(),
            "", MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    const std::int32_t id = doc.Blocks()[std::size_t(row)].district_id;
    MeterDatabase& db = doc.GetDatabase();
    if (!db.DeleteMeters(id, ""))
        return;
    doc.SetDataChanged(1); // the meters are gone, whatever becomes of the Block
    a.view->ListCtrl(V::IdMeters)->FillList(0);
    PauseShowing(500);
    if (!db.DeleteBlock(id))
        return;
    ReloadLeftList(
        a, CMrvDoc::TableBlocks, [row](std::size_t rows) { return RowAfterDelete(row, rows); },
        [](std::size_t rows) { return rows == 0; });
}

// The meter selected in the meter list, with the list and the Block it shows.
struct ChosenMeter {
    CRecordListCtrl* list;
    int row;
    std::int32_t block;
    MeterRecord meter;
};

// None after "Please Choice Meter First!".
std::optional<ChosenMeter> SelectedMeter(const ViewCommandArgs& a)
{
    CRecordListCtrl* list = a.view->ListCtrl(V::IdMeters);
    const int row = list->SelectedRow();
    if (row < 0 || row >= int(a.doc->Meters().size())) {
        a.doc->GetPrompter().Message(
            QCoreApplication::translate("mrv::EditCommands", "Please Choice Meter First!")
                .toStdString(),
            QCoreApplication::translate("mrv::EditCommands", "error", "message box caption")
                .toStdString(),
            MsgIcon::None, MsgButtons::Ok);
        return std::nullopt;
    }
    return ChosenMeter{list, row, list->CurrentKey(), a.doc->Meters()[std::size_t(row)]};
}

} // namespace

void OnEditAdd(const ViewCommandArgs& a)
{
    a.hhuMode ? AddHhu(a) : AddBlock(a);
}

void OnEditModify(const ViewCommandArgs& a)
{
    a.hhuMode ? ModifyHhu(a) : ModifyBlock(a);
}

void OnEditDelete(const ViewCommandArgs& a)
{
    a.hhuMode ? DeleteHhu(a) : DeleteBlock(a);
}

void OnMeterAdd(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    CRecordListCtrl* meters = a.view->ListCtrl(V::IdMeters);
    // The Block whose meters are shown; a list left over from a deleted Block takes none.
    const std::int32_t block = meters->CurrentKey();
    if (RowOf(doc.Blocks(), &BlockRecord::district_id, block) < 0)
        return;
    CMeterAddDlg dlg(ProposedBatch(RememberedBatch(doc), doc.Meters()), block, doc.GetPrompter(),
                     a.parent);
    dlg.SetAcceptCheck(
        [&doc, block](const MeterBatch& batch) { return BatchAccepted(doc, block, batch); });
    if (dlg.exec() != QDialog::Accepted || dlg.Batch().count == 0)
        return;
    AddMeterBatch(doc, block, dlg.Batch(), dlg.Addresses());
    meters->FillList(block);
    meters->scrollToBottom(); // the new meters are the last rows
    RepaintSummary(*a.view);
}

void OnMeterModify(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const std::optional<ChosenMeter> c = SelectedMeter(a);
    if (!c)
        return;
    MeterRecord shown = c->meter;
    shown.district_id = c->block;
    CMeterModifyDlg dlg(shown, doc.Blocks(), doc.GetPrompter(), a.parent);
    dlg.SetAcceptCheck([&doc, &shown](const MeterRecord& meter) {
        return MeterChangeAccepted(doc, shown, meter);
    });
    if (dlg.exec() != QDialog::Accepted)
        return;
    MeterRecord meter = dlg.Meter();
    meter.property_num = CutUtf8ToGbkWidth(meter.property_num, MeterRecord::kNumWidth);
    meter.meter_address = CutUtf8ToGbkWidth(meter.meter_address, MeterRecord::kAddressWidth);
    meter.row_key = c->meter.row_key;
    // The row chosen, by its key; without one the meter of that number in this Block, never
    // one of the same number elsewhere.
    if (!doc.GetDatabase().UpdateMeter(meter, c->meter.meter_num, c->block, meter.row_key))
        return;
    if (meter.district_id != c->block) {
        // It left this Block for another: both Blocks' meter counts changed.
        doc.SetDataChanged(1);
        c->list->FillList(c->block);
        RepaintSummary(*a.view);
        return;
    }
    doc.ReplaceMeter(std::size_t(c->row), meter);
    c->list->RefreshRow(c->row);
}

void OnMeterDelete(const ViewCommandArgs& a)
{
    CMrvDoc& doc = *a.doc;
    const std::optional<ChosenMeter> c = SelectedMeter(a);
    if (!c)
        return;
    // No question, as for one meter the list shows: the row chosen alone.
    MeterDatabase& db = doc.GetDatabase();
    const int deleted = c->meter.row_key > 0 ? db.DeleteMeterRow(c->meter.row_key)
                                             : db.DeleteMeters(c->block, c->meter.meter_num);
    if (!deleted)
        return;
    doc.SetDataChanged(1);
    c->list->FillList(c->block);
    RepaintSummary(*a.view);
}

void OnQuery(const ViewCommandArgs& a)
{
    CQueryDlg dlg(*a.doc, a.parent);
    dlg.exec();
}

} // namespace mrv
