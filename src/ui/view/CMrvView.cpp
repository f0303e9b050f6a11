#include "ui/view/CMrvView.h"

#include "datafile/HhuDataFile.h"
#include "doc/CMrvDoc.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CRecordListCtrl.h"

#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace mrv {

namespace {

// The band that shows where the divider goes while it is dragged: a halftone over whatever
// lies beneath, as the inverted band of a splitter.
class DividerBand final : public QWidget {
public:
    explicit DividerBand(QWidget* parent) : QWidget(parent)
    {
        setObjectName("dividerBand");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

// The file name of a path: what follows its last separator, all of it when it has none.
QString FileNameOf(const std::string& path)
{
    const auto cut = path.find_last_of("/\\");
    return QString::fromStdString(cut == std::string::npos ? path : path.substr(cut + 1));
}

} // namespace

CMrvView::CMrvView(CMrvDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName("MrvView");
    // The whole view is painted in the button-face colour.
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setMouseTracking(true);
    CreateControls();
}

QPushButton* CMrvView::MakeButton(int id, const QString& text, const char* objectName)
{
    auto* b = new QPushButton(text, this);
    b->setObjectName(objectName);
    b->setAccessibleName(text);
    b->setAutoDefault(false);
    b->hide();
    connect(b, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
    m_buttons[std::size_t(id - IdGroup)] = b;
    return b;
}

void CMrvView::CreateControls()
{
    // Created in this order, which is also their stacking order: the group box lowest.
    m_group = new QGroupBox(tr("LAND"), this);
    m_group->setObjectName("groupBox");
    m_group->setAccessibleName(m_group->title());
    m_group->hide();
    MakeButton(IdAdd, tr("Add", "HHU or Block"), "addButton")
        ->setAccessibleDescription(tr("Add an HHU or a Block"));
    MakeButton(IdModify, tr("Modify", "HHU or Block"), "modifyButton")
        ->setAccessibleDescription(tr("Modify the selected HHU or Block"));
    MakeButton(IdOpen, tr("Open", "data file"), "openButton")
        ->setAccessibleDescription(tr("Open a data file"));
    MakeButton(IdClose, tr("Close", "data file"), "closeButton")
        ->setAccessibleDescription(tr("Close the data file"));
    MakeButton(IdQuery, tr("Query", "meter"), "queryButton")
        ->setAccessibleDescription(tr("Look a meter up"));
    MakeButton(IdMeterAdd, tr("Add", "meters"), "meterAddButton")
        ->setAccessibleDescription(tr("Add meters"));
    MakeButton(IdMeterModify, tr("Modify", "meter"), "meterModifyButton")
        ->setAccessibleDescription(tr("Modify the selected meter"));
    MakeButton(IdMeterDelete, tr("Delete", "meter"), "meterDeleteButton")
        ->setAccessibleDescription(tr("Delete the selected meter"));
    MakeButton(IdSet, tr("Set", "program the meters"), "setButton")
        ->setAccessibleDescription(tr("Program the meters of the Block"));
    MakeButton(IdInfo, tr("Info", "reading"), "infoButton")
        ->setAccessibleDescription(tr("Data Exchange Information of the selected meter"));
    MakeButton(IdPara, tr("Para", "data file parameters"), "paraButton")
        ->setAccessibleDescription(tr("Parameters of the data file"));
    MakeButton(IdInput, tr("Input", "import the readings"), "inputButton")
        ->setAccessibleDescription(tr("Import the readings into the energy database"));
    MakeButton(IdPrint, tr("Print", "readings"), "printButton")
        ->setAccessibleDescription(tr("Print the readings"));
    MakeButton(IdRead, tr("Read", "read the meters"), "readButton")
        ->setAccessibleDescription(tr("Read the meters of the Block"));

    auto listBox = [this](int id, const char* name, const QString& accessible) {
        auto* box = new CMarkListBox(id, this);
        box->setObjectName(name);
        box->setAccessibleName(accessible);
        box->hide();
        connect(box, &CMarkListBox::SelChange, this, &CMrvView::OnSelChange);
        connect(box, &CMarkListBox::RightPressed, this, &CMrvView::OnRightPressed);
        connect(box, &CMarkListBox::DoubleClicked, this, &CMrvView::OnDoubleClicked);
        return box;
    };
    m_hhuList = listBox(IdHhuList, "hhuList", tr("HHU"));
    m_blockList = listBox(IdBlockList, "blockList", tr("Block"));
    m_fileBlocks = listBox(IdFileBlocks, "fileBlockList", tr("Blocks of the data file"));

    auto listCtrl = [this](int id, const char* name, const QString& accessible) {
        auto* list = new CRecordListCtrl(id, this);
        list->setObjectName(name);
        list->setAccessibleName(accessible);
        // Shown by the layout of its mode; until then it takes no room and no focus.
        list->setGeometry(0, 0, 0, 0);
        list->hide();
        connect(list, &CRecordListCtrl::RightPressed, this, &CMrvView::OnRightPressed);
        connect(list, &CRecordListCtrl::DoubleClicked, this, &CMrvView::OnDoubleClicked);
        return list;
    };
    m_hhuBlocks = listCtrl(IdHhuBlocks, "hhuBlockList", tr("Blocks of the HHU"));
    m_meters = listCtrl(IdMeters, "meterList", tr("Meters of the Block"));
    m_readings = listCtrl(IdReadings, "readingList", tr("Readings of the Block"));

    int kind = 1;
    for (CMarkListBox* box : {m_hhuList, m_blockList, m_fileBlocks}) {
        box->SetDocument(m_doc);
        box->SetKind(kind++);
    }
    // The dot marks the Blocks of the HHU whose Blocks the HHU mode lists (or listed last).
    m_blockList->SetMarkKey([this] { return int(m_hhuBlocks->CurrentKey()); });
    kind = 1;
    for (CRecordListCtrl* list : {m_hhuBlocks, m_meters, m_readings}) {
        list->SetDocument(m_doc);
        list->SetKind(kind++);
    }

    m_band = new DividerBand(this);

    // Keyboard order: the left list and its buttons, then the right list and its buttons.
    const std::vector<QWidget*> order = {
        m_hhuList,         m_blockList,           m_fileBlocks,          Button(IdAdd),
        Button(IdModify),  Button(IdOpen),        Button(IdClose),       m_hhuBlocks,
        m_meters,          m_readings,            Button(IdQuery),       Button(IdMeterAdd),
        Button(IdMeterModify), Button(IdMeterDelete), Button(IdSet),     Button(IdPrint),
        Button(IdInput),   Button(IdPara),        Button(IdInfo),        Button(IdRead)};
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QPushButton* CMrvView::Button(int id) const
{
    if (id < IdGroup || id >= IdGroup + int(m_buttons.size()))
        return nullptr;
    return m_buttons[std::size_t(id - IdGroup)];
}

CMarkListBox* CMrvView::ListBox(int id) const
{
    switch (id) {
    case IdHhuList:
        return m_hhuList;
    case IdBlockList:
        return m_blockList;
    case IdFileBlocks:
        return m_fileBlocks;
    default:
        return nullptr;
    }
}

CRecordListCtrl* CMrvView::ListCtrl(int id) const
{
    switch (id) {
    case IdHhuBlocks:
        return m_hhuBlocks;
    case IdMeters:
        return m_meters;
    case IdReadings:
        return m_readings;
    default:
        return nullptr;
    }
}

int CMrvView::Mode() const
{
    return m_doc.GetViewMode();
}

void CMrvView::SetMode(int mode)
{
    m_doc.SetViewMode(mode);
    emit ModeChanged();
}

void CMrvView::ShowMode(int mode)
{
    SetMode(mode);
    HideOtherControls();
    update();
    LayoutControls();
}

void CMrvView::RefreshLists(int mode)
{
    const HhuList& hhus = m_doc.Hhus();
    m_hhuList->ResetContent();
    if (!hhus.empty()) {
        m_hhuList->SetCurSel(0);
        m_hhuBlocks->FillList(hhus.front().land_id);
    } else {
        m_hhuBlocks->FillList(0);
    }
    const BlockList& blocks = m_doc.Blocks();
    m_blockList->ResetContent();
    if (!blocks.empty()) {
        m_blockList->SetCurSel(0);
        m_meters->FillList(blocks.front().district_id);
    } else {
        m_meters->FillList(0);
    }
    ShowMode(mode);
}

void CMrvView::ResetDisplay()
{
    SetMode(CMrvDoc::ModeNone);
    HideOtherControls();
    unsetCursor();
    m_sizeCursor = false;
    update();
}

void CMrvView::HideOtherControls()
{
    auto hide = [this](std::initializer_list<int> ids) {
        for (int id : ids)
            Button(id)->hide();
    };
    const std::initializer_list<int> meterButtons = {IdQuery, IdMeterAdd, IdMeterModify,
                                                     IdMeterDelete, IdSet};
    const std::initializer_list<int> fileButtons = {IdInfo, IdPara, IdInput, IdPrint, IdRead};
    switch (Mode()) {
    case CMrvDoc::ModeHhu:
        m_blockList->hide();
        m_fileBlocks->hide();
        m_meters->hide();
        m_readings->hide();
        hide(meterButtons);
        hide(fileButtons);
        hide({IdOpen, IdClose});
        break;
    case CMrvDoc::ModeBlock:
        m_hhuList->hide();
        m_fileBlocks->hide();
        m_hhuBlocks->hide();
        m_readings->hide();
        hide({IdOpen, IdClose});
        hide(fileButtons);
        break;
    case CMrvDoc::ModeDataFile:
        m_hhuList->hide();
        m_blockList->hide();
        m_hhuBlocks->hide();
        m_meters->hide();
        hide(meterButtons);
        hide({IdAdd, IdModify});
        break;
    default:
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->hide();
        break;
    }
}

void CMrvView::Place(QWidget* w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, std::max(0, width), std::max(0, height));
    w->show();
}

void CMrvView::Place(int id, int x, int y, int width, int height)
{
    Place(Button(id), x, y, width, height);
}

void CMrvView::LayoutControls()
{
    PlaceControls(true);
}

void CMrvView::PlaceControls(bool byProgram)
{
    const int mode = Mode();
    if (mode == CMrvDoc::ModeNone)
        return;
    const int h = m_clientHeight;
    const int w = m_clientWidth;
    const int s = m_splitPos;
    const int by = h - 34; // the row of buttons
    const int bw = kButtonWidth;
    const int bh = kButtonHeight;

    QString title;
    CMarkListBox* left = nullptr;
    CRecordListCtrl* right = nullptr;
    bool rightShown = true;
    switch (mode) {
    case CMrvDoc::ModeHhu:
        title = tr("HHU");
        left = m_hhuList;
        right = m_hhuBlocks;
        rightShown = !m_doc.Hhus().empty();
        Place(IdAdd, 10, by, bw, bh);
        Place(IdModify, 64, by, bw, bh);
        break;
    case CMrvDoc::ModeBlock: {
        title = tr("Block");
        left = m_blockList;
        right = m_meters;
        rightShown = !m_doc.Blocks().empty();
        Place(IdAdd, 10, by, bw, bh);
        Place(IdModify, 64, by, bw, bh);
        const std::pair<int, int> meterButtons[] = {{IdQuery, 273},
                                                    {IdMeterAdd, 219},
                                                    {IdMeterModify, 165},
                                                    {IdMeterDelete, 111},
                                                    {IdSet, 57}};
        for (auto [id, fromRight] : meterButtons) {
            if (rightShown)
                Place(id, w - fromRight, by, bw, bh);
            else
                Button(id)->hide();
        }
        break;
    }
    case CMrvDoc::ModeDataFile: {
        title = FileNameOf(m_dataFilePath);
        left = m_fileBlocks;
        right = m_readings;
        Place(IdOpen, 10, by, bw, bh);
        Place(IdClose, 64, by, bw, bh);
        const std::pair<int, int> fileButtons[] = {
            {IdRead, 61}, {IdInfo, 114}, {IdPara, 167}, {IdInput, 220}, {IdPrint, 273}};
        for (auto [id, fromRight] : fileButtons)
            Place(id, w - fromRight, by, bw, bh);
        break;
    }
    default:
        return;
    }
    m_group->setTitle(title);
    m_group->setAccessibleName(title);
    Place(m_group, 4, 4, s - 8, h - 8);
    Place(left, 10, 26, s - 20, h - 63);
    if (rightShown)
        Place(right, s + 20, 89, w - s - 28, h - 126);
    else
        right->hide();
    if (byProgram)
        update(QRect(119, 0, w - 119, h));
}

void CMrvView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_clientWidth = width();
    m_clientHeight = height();
    PlaceControls(false);
}

std::vector<CMrvView::DrawnText> CMrvView::DrawnTexts() const
{
    std::vector<DrawnText> out;
    const int s = m_splitPos;
    const int h = m_clientHeight;
    auto add = [&out](int x, int y, const QString& text) { out.push_back({QPoint(x, y), text}); };
    switch (Mode()) {
    case CMrvDoc::ModeHhu: {
        const HhuList& hhus = m_doc.Hhus();
        if (hhus.empty()) {
            add(s + 50, 50, tr("No HHU!"));
            break;
        }
        const int sel = m_hhuList->GetCurSel();
        if (sel >= 0 && sel < int(hhus.size())) {
            const HhuRecord& hhu = hhus[std::size_t(sel)];
            add(s + 20, 30, tr("HHU ID: %1").arg(QString::asprintf("%04d", int(hhu.land_id))));
            add(s + 150, 30,
                tr("HHU Description: %1").arg(QString::fromStdString(hhu.description)));
        }
        std::int32_t meters = 0;
        const std::int32_t blocks = m_hhuBlocks->GetValue(&meters);
        add(s + 20, 55, tr("Manage Blocks: %1").arg(blocks));
        add(s + 150, 55, tr("Manage Meters: %1").arg(meters));
        // The list stops at its limit: say so rather than let the rows look like all of them.
        if (const int shown = m_hhuBlocks->GetItemCount(); shown < blocks)
            add(s + 320, 55, tr("%1 of %2 Blocks shown").arg(shown).arg(blocks));
        // Both lines name the limit itself, not the total.
        if (meters <= kMaxManagedMeters)
            add(s + 20, h - 34, tr("Max manage meters %1").arg(kMaxManagedMeters));
        else
            add(s + 20, h - 34,
                tr("!!!Too many meters(%1), Can't Create Data File").arg(kMaxManagedMeters));
        break;
    }
    case CMrvDoc::ModeBlock: {
        const BlockList& blocks = m_doc.Blocks();
        if (blocks.empty()) {
            add(s + 50, 50, tr("No Block!"));
            break;
        }
        const int sel = m_blockList->GetCurSel();
        const bool selected = sel >= 0 && sel < int(blocks.size());
        if (selected) {
            const BlockRecord& b = blocks[std::size_t(sel)];
            add(s + 20, 30, tr("Block ID: %1").arg(QString::asprintf("%04d", int(b.district_id))));
            add(s + 150, 30, tr("HHU ID: %1").arg(QString::asprintf("%04i", int(b.land_id))));
            add(s + 265, 30,
                tr("Constant: %1").arg(QString::asprintf("%04x", unsigned(b.district_para))));
        }
        std::int32_t meters = 0;
        m_meters->GetValue(&meters);
        add(s + 20, 55, tr("Meters: %1").arg(meters));
        if (selected)
            add(s + 150, 55,
                tr("Block Name: %1")
                    .arg(QString::fromStdString(blocks[std::size_t(sel)].district_name)));
        break;
    }
    case CMrvDoc::ModeDataFile: {
        const HhuDataFile& file = m_doc.GetDataFile();
        const std::vector<BlockEntry> entries =
            file.IsLoaded() ? file.GetBlockEntries() : std::vector<BlockEntry>{};
        const int sel = m_fileBlocks->GetCurSel();
        const bool selected = sel >= 0 && sel < int(entries.size());
        if (selected) {
            const BlockEntry& e = entries[std::size_t(sel)];
            add(s + 20, 30, tr("Block Name: %1").arg(QString::fromStdString(e.name)));
            add(s + 150, 55,
                tr("Constant: %1").arg(QString::fromStdString(FormatBlockConstant(e.constant))));
        }
        std::int32_t meters = 0;
        m_readings->GetValue(&meters);
        // Damaged records of the whole file, marked "!" in the list and left out by Input.
        const auto& readings = file.GetReadings();
        const auto damaged = std::count_if(readings.begin(), readings.end(),
                                           [](const ReadingRecord& r) { return !r.damage.empty(); });
        add(s + 20, 55, tr("Meters: %1").arg(meters));
        // Beside the Constant rather than after the count, which the Constant would cover.
        if (damaged > 0)
            add(s + 320, 55, tr("(%1 damaged in the file)").arg(damaged));
        add(s + 20, h - 34, tr("( Datafile )"));
        break;
    }
    default:
        break;
    }
    return out;
}

void CMrvView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor face = palette().color(QPalette::Window);
    // Texts are drawn opaque on the button face.
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(face);
    if (Mode() == CMrvDoc::ModeNone) {
        // Nothing to show yet (a first start, a closed database): say where the work begins.
        p.setBackgroundMode(Qt::TransparentMode);
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                   EmptyViewHint());
        return;
    }
    const int s = m_splitPos;
    const int h = m_clientHeight;
    // The divider: a black line with a white and a light grey one to its right.
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(s + 1, 1, s + 1, h - 1);
    p.setPen(QPen(QColor(224, 224, 224), 1));
    p.drawLine(s + 2, 1, s + 2, h - 1);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(s, 0, s, h - 1);

    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics fm(font());
    for (const DrawnText& t : DrawnTexts())
        p.drawText(t.at.x(), t.at.y() + fm.ascent(), t.text);
}

QString CMrvView::EmptyViewHint() const
{
    if (Mode() != CMrvDoc::ModeNone)
        return {};
    return tr("To work on an installation, open its database:\n"
              "Database > Open Database, or one of Database > Recent Databases.\n\n"
              "To see the readings a hand-held unit brought back:\n"
              "View > View File.");
}

bool CMrvView::InDividerBand(QPoint p) const
{
    return p.x() >= m_splitPos - 2 && p.x() < m_splitPos + 2 && p.y() >= 0 &&
           p.y() < m_clientHeight;
}

bool CMrvView::InSizingZone(QPoint p) const
{
    return p.x() >= m_splitPos - 3 && p.x() < m_splitPos + 3 && p.y() >= 3 &&
           p.y() < m_clientHeight - 3;
}

void CMrvView::InvertBand(int x)
{
    m_band->setGeometry(x - 2, 0, 4, m_clientHeight);
    m_band->show();
    m_band->raise();
}

void CMrvView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !m_dragging && Mode() != CMrvDoc::ModeNone) {
        m_dragPos = m_splitPos;
        if (InDividerBand(event->position().toPoint())) {
            m_sizeCursor = true;
            setCursor(Qt::SizeHorCursor);
            m_dragging = 1;
            InvertBand(m_dragPos);
        }
    }
    QWidget::mousePressEvent(event);
}

void CMrvView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragging) {
        int x = pos.x();
        if (x < kMinSplit) {
            if (m_dragPos == kMinSplit)
                return;
            x = kMinSplit;
        }
        if (x > kMaxSplit) {
            if (m_dragPos == kMaxSplit)
                return;
            x = kMaxSplit;
        }
        m_dragPos = x;
        InvertBand(m_dragPos);
        return;
    }
    if (Mode() == CMrvDoc::ModeNone)
        return;
    const bool sizing = InSizingZone(pos);
    if (sizing != m_sizeCursor) {
        m_sizeCursor = sizing;
        if (sizing)
            setCursor(Qt::SizeHorCursor);
        else
            unsetCursor();
    }
}

void CMrvView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = 0;
        m_sizeCursor = false;
        unsetCursor();
        m_splitPos = m_dragPos;
        m_band->hide();
        LayoutControls();
    }
    QWidget::mouseReleaseEvent(event);
}

void CMrvView::OnHhuSetting()
{
    if (!m_doc.IsDatabaseOpen() || Mode() == CMrvDoc::ModeHhu)
        return;
    if (m_doc.GetDataChanged()) {
        // Blocks or meters changed since the HHU's Blocks were listed.
        const int sel = m_hhuList->GetCurSel();
        if (sel >= 0 && sel < int(m_doc.Hhus().size()))
            m_hhuBlocks->FillList(m_doc.Hhus()[std::size_t(sel)].land_id);
        m_doc.SetDataChanged(0);
    }
    ShowMode(CMrvDoc::ModeHhu);
}

void CMrvView::OnMeterSetting()
{
    if (!m_doc.IsDatabaseOpen() || Mode() == CMrvDoc::ModeBlock)
        return;
    ShowMode(CMrvDoc::ModeBlock);
}

void CMrvView::OnViewFile()
{
    if (Mode() == CMrvDoc::ModeDataFile)
        return;
    if (m_doc.GetDataFile().IsLoaded())
        ShowMode(CMrvDoc::ModeDataFile);
    else
        OnOpenDataFile();
}

void CMrvView::OnOpenDataFile()
{
    if (!m_doc.OnOpenDataFile())
        return; // cancelled, or refused: what was shown stays
    ShowLoadedDataFile();
}

bool CMrvView::OpenDataFile(const std::string& path)
{
    if (!m_doc.OpenDataFile(path))
        return false;
    ShowLoadedDataFile();
    return true;
}

void CMrvView::ShowLoadedDataFile()
{
    // Opening has refilled the Block list of the file and made the reading columns due again.
    m_dataFilePath = m_doc.GetDataFile().LoadedPath();
    if (m_fileBlocks->GetCount() > 0)
        m_fileBlocks->SetCurSel(0);
    m_readings->FillList(0);
    ShowMode(CMrvDoc::ModeDataFile);
}

void CMrvView::OnCloseDataFile()
{
    m_doc.CloseDataFile();
    if (m_doc.IsDatabaseOpen())
        OnMeterSetting();
    else
        ResetDisplay();
}

void CMrvView::OnSelChange(int id)
{
    switch (id) {
    case IdHhuList: {
        const int sel = m_hhuList->GetCurSel();
        const HhuList& hhus = m_doc.Hhus();
        m_hhuBlocks->FillList(sel >= 0 && sel < int(hhus.size()) ? hhus[std::size_t(sel)].land_id
                                                                 : 0);
        break;
    }
    case IdBlockList: {
        const int sel = m_blockList->GetCurSel();
        const BlockList& blocks = m_doc.Blocks();
        m_meters->FillList(sel >= 0 && sel < int(blocks.size())
                               ? blocks[std::size_t(sel)].district_id
                               : 0);
        break;
    }
    case IdFileBlocks:
        m_readings->FillList(m_fileBlocks->GetCurSel());
        break;
    default:
        return;
    }
    update(QRect(m_splitPos, 0, m_clientWidth - m_splitPos, m_clientHeight));
}

void CMrvView::RunMenu(QMenu& menu, QPoint globalPos)
{
    if (QAction* chosen = menu.exec(globalPos))
        OnCommand(chosen->data().toInt());
}

void CMrvView::OnRightPressed(int id, QPoint globalPos)
{
    QMenu menu(this);
    auto entry = [&menu](int command, const QString& text, bool enabled = true) {
        QAction* a = menu.addAction(text);
        a->setData(command);
        a->setObjectName(QString("command%1").arg(command));
        a->setEnabled(enabled);
    };
    if (id == IdReadings) {
        menu.setObjectName("dataFileMenu");
        entry(IdInfo, tr("Info", "reading"), m_readings->SelectedRow() >= 0);
        entry(IdPara, tr("Para", "data file parameters"));
        menu.addSeparator();
        entry(IdRead, tr("Read", "read the meters"));
        entry(IdInput, tr("Input", "import the readings"));
        entry(IdPrint, tr("Print", "readings"));
        RunMenu(menu, globalPos);
        return;
    }
    if (!m_doc.IsDatabaseOpen())
        return;
    switch (id) {
    case IdHhuList: {
        const bool any = !m_doc.Hhus().empty();
        menu.setObjectName("hhuBlockMenu");
        entry(IdAdd, tr("Add HHU"));
        entry(IdModify, tr("Modify HHU"), any);
        // An HHU that still serves Blocks is not deleted from here.
        entry(IdDelete, tr("Delete HHU"), any && m_hhuBlocks->GetItemCount() == 0);
        break;
    }
    case IdBlockList: {
        const bool any = !m_doc.Blocks().empty();
        menu.setObjectName("hhuBlockMenu");
        entry(IdAdd, tr("Add Block"));
        entry(IdModify, tr("Modify Block"), any);
        entry(IdDelete, tr("Delete Block"), any);
        break;
    }
    case IdMeters: {
        const bool selected = m_meters->SelectedRow() >= 0;
        menu.setObjectName("meterMenu");
        entry(IdMeterAdd, tr("Add Meters"));
        entry(IdMeterModify, tr("Modify Meter"), selected);
        entry(IdMeterDelete, tr("Delete Meter"), selected);
        menu.addSeparator();
        entry(IdQuery, tr("Query", "meter"));
        entry(IdSet, tr("Set", "program the meters"));
        break;
    }
    default:
        return;
    }
    RunMenu(menu, globalPos);
}

void CMrvView::OnDoubleClicked(int id, QPoint)
{
    if (id == IdReadings) {
        OnCommand(m_readings->SelectedRow() < 0 ? IdPara : IdInfo);
        return;
    }
    if (!m_doc.IsDatabaseOpen())
        return;
    switch (id) {
    case IdHhuList:
        OnCommand(m_doc.Hhus().empty() ? IdAdd : IdModify);
        break;
    case IdBlockList:
        OnCommand(m_doc.Blocks().empty() ? IdAdd : IdModify);
        break;
    case IdMeters:
        OnCommand(m_meters->SelectedRow() >= 0 ? IdMeterModify : IdMeterAdd);
        break;
    default:
        break;
    }
}

void CMrvView::OnCommand(int id)
{
    switch (id) {
    case IdOpen:
        OnOpenDataFile();
        return;
    case IdClose:
        OnCloseDataFile();
        return;
    case IdAdd:
    case IdModify:
    case IdDelete:
    case IdQuery:
    case IdMeterAdd:
    case IdMeterModify:
    case IdMeterDelete:
    case IdInfo:
    case IdPara:
    case IdInput:
    case IdPrint:
    case IdSet:
    case IdRead:
        RunViewCommand(static_cast<ViewCommand>(id));
        return;
    default:
        return;
    }
}

std::optional<ViewCommandArgs> CMrvView::PrepareCommand(ViewCommand command)
{
    ViewCommandArgs a;
    a.command = command;
    a.doc = &m_doc;
    a.view = this;
    a.parent = window();
    a.hhuMode = Mode() == CMrvDoc::ModeHhu;
    switch (command) {
    case ViewCommand::Set: {
        if (m_doc.Meters().empty() || m_blockList->GetCurSel() < 0)
            return std::nullopt;
        a.baudRate = m_doc.GetBaudRate();
        a.portIndex = m_doc.m_comIndex;
        a.meterIndex = std::max(0, m_meters->SelectedRow());
        a.constant = m_doc.m_params.constant;
        break;
    }
    case ViewCommand::Read: {
        const int rows = m_readings->GetItemCount();
        if (rows < 1)
            return std::nullopt;
        const int first = m_readings->GetValue();
        a.baudRate = m_doc.GetBaudRate();
        a.portIndex = m_doc.m_comIndex;
        a.firstSequence = first;
        a.currentSequence = first + std::max(0, m_readings->SelectedRow());
        a.lastSequence = first + rows - 1;
        break;
    }
    case ViewCommand::Info: {
        const int sel = m_readings->SelectedRow();
        if (sel < 0) {
            m_doc.GetPrompter().Message(tr("Please Choice Meter First!").toStdString(),
                                        tr("error").toStdString());
            return std::nullopt;
        }
        a.recordNumber = m_readings->GetValue() + sel;
        break;
    }
    case ViewCommand::Para:
        a.blockIndex = m_readings->CurrentKey();
        break;
    default:
        break;
    }
    return a;
}

void CMrvView::SetCommandHandler(ViewCommand command, CommandHandler handler)
{
    if (handler)
        m_handlers[command] = std::move(handler);
    else
        m_handlers.erase(command);
}

void CMrvView::RunViewCommand(ViewCommand command)
{
    const std::optional<ViewCommandArgs> args = PrepareCommand(command);
    if (!args)
        return;
    if (const auto own = m_handlers.find(command); own != m_handlers.end())
        own->second(*args);
    else if (ViewCommandHandler handler = ViewCommandHandlerFor(command))
        handler(*args);
    else
        emit StatusMessage(
            tr("%1: not available in this build").arg(ViewCommandName(command, args->hhuMode)),
            4000);
    emit CommandDone(static_cast<int>(command));
}

} // namespace mrv
