#include "ui/meterdlg/CMeterWizardDlg.h"

#include "datafile/HhuDataFile.h"
#include "datafile/FileBytes.h"
#include "datafile/RunLock.h"
#include "doc/BlockReading.h"
#include "doc/CMrvDoc.h"
#include "link/Codecs.h"
#include "link/SerialPort.h"
#include "ui/meterdlg/CMeterLogEdit.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"
#include "ui/view/ViewCommands.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <span>
#include <string>

namespace mrv {

namespace {

// A field that only shows a value: read-only, with the dialog's background so that it does
// not invite typing, still reachable with Tab so a screen reader reads it.
QLineEdit* MakeShownField(QWidget* parent, const char* name, const QString& accessible)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessible);
    edit->setReadOnly(true);
    edit->setFixedWidth(72);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, const char* name)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// A text of the wizard's Texts in the user's language (they are marked where they are given).
QString Shown(const QString& source)
{
    return CMeterWizardDlg::tr(source.toUtf8().constData());
}

} // namespace

CMeterWizardDlg::CMeterWizardDlg(CMrvDoc& doc, const Texts& texts, WizardWalk walk, QWidget* parent)
    : CMeterRunDlg(parent), m_doc(doc), m_walk(walk)
{
    setWindowTitle(Shown(texts.title));
    setObjectName(texts.title);
    BuildControls(texts);
}

CMeterWizardDlg::~CMeterWizardDlg() = default;

void CMeterWizardDlg::BuildControls(const Texts& texts)
{
    auto* controls = new QWidget(this);

    m_portEdit = MakeShownField(controls, "port", tr("Port"));
    m_baudEdit = MakeShownField(controls, "baudrate", tr("Baudrate"));
    m_meterIdEdit = MakeShownField(controls, "meterId", tr("Meter ID"));
    auto* fields = new QGridLayout;
    int row = 0;
    for (auto [label, edit] :
         {std::pair{QT_TR_NOOP("Port"), m_portEdit}, std::pair{QT_TR_NOOP("Baudrate"), m_baudEdit},
          std::pair{QT_TR_NOOP("Meter ID"), m_meterIdEdit}}) {
        auto* l = new QLabel(tr(label), controls);
        l->setBuddy(edit);
        fields->addWidget(l, row, 0);
        fields->addWidget(edit, row, 1, Qt::AlignLeft);
        ++row;
    }

    auto* group = new QGroupBox(Shown(texts.group), controls);
    group->setObjectName("group");
    auto* groupLayout = new QVBoxLayout(group);
    for (const QString& text : texts.boxes) {
        auto* box = new QCheckBox(Shown(text), group);
        box->setObjectName(text);
        box->setChecked(true);
        groupLayout->addWidget(box);
        m_boxes.push_back(box);
    }
    m_skip = new QCheckBox(tr("Skip To Next if OK"), controls);
    m_skip->setObjectName("skip");
    m_skip->setChecked(true);

    m_previous = MakeButton(controls, tr("Previous"), "previous");
    m_next = MakeButton(controls, Shown(texts.nextButton), "next");
    connect(m_previous, &QPushButton::clicked, this, &CMeterWizardDlg::OnPrevious);
    connect(m_next, &QPushButton::clicked, this, &CMeterWizardDlg::OnNext);
    auto* moves = new QHBoxLayout;
    moves->addWidget(m_previous);
    moves->addWidget(m_next);
    moves->addStretch();

    auto* left = new QVBoxLayout(controls);
    left->setContentsMargins(0, 0, 0, 0);
    left->addLayout(fields);
    left->addWidget(group);
    left->addWidget(m_skip);
    left->addLayout(moves);
    left->addStretch();
    controls->setFixedWidth(220);

    BuildFrame(controls, {controls}, Shown(texts.runButton), "run", QSize(640, 380));
    connect(RunButton(), &QPushButton::clicked, this, &CMeterWizardDlg::OnRun);
    connect(CancelButton(), &QPushButton::clicked, this, &CMeterWizardDlg::reject);
}

QCheckBox* CMeterWizardDlg::Box(const QString& text) const
{
    // The name keeps the text as written here whatever language the box shows.
    for (QCheckBox* box : m_boxes)
        if (box->objectName() == text)
            return box;
    return nullptr;
}

void CMeterWizardDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_portEdit->setText(QString("COM%1").arg(m_portIndex + 1));
        m_baudEdit->setText(QString::number(m_baudRate));
        ShowMeter();
        RunButton()->setFocus();
    }
    QDialog::showEvent(event);
}

void CMeterWizardDlg::ShowMeter()
{
    m_address = AddressAt(m_walk.Position());
    m_meterIdEdit->setText(QString::fromStdString(BytesToHexText(std::span(&m_address, 1))));
    UpdateMoveButtons();
    m_log->clear();
}

void CMeterWizardDlg::UpdateMoveButtons()
{
    m_previous->setEnabled(m_walk.CanPrevious());
    m_next->setEnabled(m_walk.CanNext());
}

void CMeterWizardDlg::OnPrevious()
{
    if (!Running() && m_walk.Previous())
        ShowMeter();
}

void CMeterWizardDlg::OnNext()
{
    if (!Running() && m_walk.Next())
        ShowMeter();
}

bool CMeterWizardDlg::OpenPort()
{
    // The wizards set their own line: even parity at their rate, whatever the document's
    // parity is.
    SerialPort::ResetTable();
    const int port = m_portIndex + 1;
    if (SerialPort::Open(port, 0) < 0) {
        m_doc.ExplainPortRefusal(port);
        m_doc.GetPrompter().Message(tr("Can't Open This Port!").toStdString(),
                                    tr("error").toStdString(), MsgIcon::Warning);
        return false;
    }
    PortSettings settings;
    settings.baudRate = static_cast<std::uint32_t>(m_baudRate);
    settings.dataBits = 8;
    settings.parity = 2;
    settings.stopBits = 0;
    settings.handshake = 0;
    if (SerialPort::Configure(port, settings) != 0) {
        SerialPort::Close(port);
        m_doc.GetPrompter().Message(tr("Can't Config This Port!").toStdString(),
                                    tr("error").toStdString(), MsgIcon::Warning);
        return false;
    }
    return true;
}

void CMeterWizardDlg::OnRun()
{
    if (Running())
        return;
    std::vector<bool> ticked;
    for (const QCheckBox* box : m_boxes)
        ticked.push_back(box->isChecked());
    if (!MayRun(ticked) || !OpenPort())
        return;
    m_log->clear();

    // "Meter ID" tells the meter the rate this line runs at.
    MeterDocumentCopy values(m_doc);
    values.values.presentBaudRate = m_baudRate;
    BindLink(values, &m_address, m_writeConstant);
    WizardHooks hooks;
    hooks.stopRequested = [this] { return StopRequested(); };
    WizardRunEnd end = WizardRunEnd::Failed;
    RunJob([&] { end = RunCommands(ticked, hooks); });
    UpdateMoveButtons(); // the runner enabled every control again

    // A failed or stopped run stays on this meter, so the run button retries it.
    if (end == WizardRunEnd::Done && Finish() && m_skip->isChecked())
        OnNext();
    SerialPort::Close(m_portIndex + 1);
    RunButton()->setFocus();
}

// Meter Setting

CMeterSettingDlg::CMeterSettingDlg(CMrvDoc& doc, int meterIndex,
                                   const std::array<std::uint8_t, 3>& constant, QWidget* parent)
    : CMeterWizardDlg(doc,
                      {QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Meter Setting"),
                       //: the run button of the Meter Setting wizard
                       QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Set"),
                       QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Next"),
                       QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Setting"),
                       {QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Init,Constant,Priority"),
                        QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Password"),
                        QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Meter ID"),
                        QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Other")}},
                      WizardWalk(0, static_cast<int>(doc.Meters().size()) - 1, meterIndex), parent)
{
    // A constant the meter's register cannot hold is refused at the run, never cut.
    m_constantValue = BcdBytesToBin(constant);
    m_writeConstant = ConstantToWrite(constant).value_or(0);
}

bool CMeterSettingDlg::MayRun(const std::vector<bool>& ticked)
{
    if (!ticked[0] || m_constantValue <= 0xFFFF)
        return true;
    m_doc.GetPrompter().Message(tr("The meter constant %1 is above 65535, the most a meter "
                                   "takes: nothing was written. Correct it in the data file "
                                   "parameters.")
                                    .arg(m_constantValue)
                                    .toStdString(),
                                tr("error").toStdString(), MsgIcon::Warning);
    return false;
}

std::uint8_t CMeterSettingDlg::AddressAt(int position) const
{
    const MeterList& meters = m_doc.Meters();
    if (position < 0 || position >= static_cast<int>(meters.size()))
        return 0;
    return SettingMeterAddress(meters[std::size_t(position)].meter_num);
}

WizardRunEnd CMeterSettingDlg::RunCommands(const std::vector<bool>& ticked,
                                           const WizardHooks& hooks)
{
    return RunMeterSetting(m_link, {ticked[0], ticked[1], ticked[2], ticked[3]}, hooks);
}

// Reading

CReadingDlg::CReadingDlg(CMrvDoc& doc, CMrvView* view, int current, int first, int last,
                         QWidget* parent)
    : CMeterWizardDlg(doc,
                      {QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Reading"),
                       QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Reading"),
                       //: the button to the next meter
                       QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Mext"),
                       QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "抄表内容"),
                       {QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "R Energy"),
                        QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "R LM Energy"),
                        QT_TRANSLATE_NOOP("mrv::CMeterWizardDlg", "Broadcast")}},
                      WizardWalk(first, last, current), parent),
      m_view(view), m_first(first)
{
    m_writeConstant = doc.GetMeterValues().meterConstant;
    BuildReadAll(first, last);
}

void CReadingDlg::BuildReadAll(int first, int last)
{
    for (int s = first; s <= last; ++s)
        m_sequences.push_back(s);
    // Beside the moves, among the controls a run disables.
    m_readAll = MakeButton(PreviousButton()->parentWidget(), tr("Read All"), "readAll");
    m_readAll->setAccessibleName(tr("Read All"));
    m_readAll->setToolTip(tr("Read every meter of the Block shown, trying those that fail again "
                             "after the others"));
    connect(m_readAll, &QPushButton::clicked, this, &CReadingDlg::OnReadAll);
    if (auto* column = qobject_cast<QVBoxLayout*>(PreviousButton()->parentWidget()->layout()))
        column->insertWidget(column->count() - 1, m_readAll, 0, Qt::AlignLeft);

    // Above the buttons, across the dialog, and live during a run.
    m_progress = new QProgressBar(this);
    m_progress->setObjectName("readAllProgress");
    m_progress->setAccessibleName(tr("Read All progress"));
    m_progress->setRange(0, static_cast<int>(m_sequences.size()));
    m_progress->setValue(0);
    m_progress->setFormat(tr("%v of %m meters"));
    m_progress->setVisible(false);
    if (auto* top = qobject_cast<QVBoxLayout*>(layout()))
        top->insertWidget(1, m_progress);
}

void CReadingDlg::OnReadAll()
{
    if (Running())
        return;
    ReadingGroups groups{Box("R Energy")->isChecked(), Box("R LM Energy")->isChecked(),
                         Box("Broadcast")->isChecked()};
    Prompter& prompter = m_doc.GetPrompter();
    if (!groups.energy && !groups.lmEnergy) {
        prompter.Message(tr("Tick \"R Energy\" or \"R LM Energy\": Read All stores what it "
                            "reads.")
                             .toStdString(),
                         tr("error").toStdString(), MsgIcon::Warning);
        return;
    }
    HhuDataFile& file = m_doc.GetDataFile();
    if (!file.IsLoaded() || m_sequences.empty())
        return;
    int holder = 0, error = 0;
    const std::optional<RunLock> lock = RunLock::Take(file.LoadedPath(), &holder, &error);
    if (!lock) {
        const QString path = QString::fromStdString(file.LoadedPath());
        prompter.Message(
            (error ? tr("Can't lock %1 for this run: %2.")
                         .arg(path, QString::fromStdString(filebytes::SystemErrorText(error)))
                   : tr("%1 is being read by another run (process %2); nothing was read.")
                         .arg(path)
                         .arg(holder))
                .toStdString(),
            tr("error").toStdString(), MsgIcon::Warning);
        return;
    }
    if (!OpenPort())
        return;
    m_log->clear();
    m_progress->setValue(0);
    m_progress->setVisible(true);

    MeterDocumentCopy values(m_doc);
    values.values.presentBaudRate = m_baudRate;
    BindLink(values, &m_allAddress, m_writeConstant);
    BlockReadOptions options;
    options.groups = groups;
    const int maxTries = 1 + options.retries;
    int settled = 0; // meters with their last word said; the worker's own
    BlockReadHooks hooks;
    hooks.stopRequested = [this] { return StopRequested(); };
    hooks.progress = [this, maxTries, &settled](const BlockMeterResult& m) {
        m_link.Log(BlockMeterLine(m, maxTries, true) + "\r\n\r\n");
        if (m.state != BlockMeterState::Failed || m.tries >= maxTries)
            ++settled;
        PostToUi([this, done = settled] { m_progress->setValue(done); });
    };
    // The file and the view's list belong to the UI thread: each reading is stored and shown
    // there, while the run waits.
    hooks.store = [this](int index, ReadingBlocks& blocks, ReadingRecord& stored,
                         std::string& why) {
        bool ok = false;
        OnUiThread([&] {
            ok = StoreReadingBlocks(m_doc.GetDataFile(), index, blocks, &stored, &why);
            if (ok && m_view)
                if (CRecordListCtrl* list = m_view->ListCtrl(CMrvView::IdReadings))
                    list->ShowReading(index + 1 - m_first, stored);
        });
        return ok;
    };
    BlockReadSummary summary;
    RunJob([&] { summary = RunBlockReading(m_link, file, m_sequences, options, hooks); });
    SerialPort::Close(m_portIndex + 1);
    m_progress->setValue(m_progress->maximum());
    m_log->AppendLog(BlockSummaryText(summary, true));
    UpdateMoveButtons(); // the runner enabled every control again
    RunButton()->setFocus();
}

std::uint8_t CReadingDlg::AddressAt(int position) const
{
    const std::vector<ReadingRecord>& readings = m_doc.GetDataFile().GetReadings();
    if (position < 1 || position > static_cast<int>(readings.size()))
        return 0;
    return ReadingMeterAddress(readings[std::size_t(position - 1)].meterId);
}

WizardRunEnd CReadingDlg::RunCommands(const std::vector<bool>& ticked, const WizardHooks& hooks)
{
    m_readsEnergy = ticked[0] || ticked[1];
    return RunReading(m_link, {ticked[0], ticked[1], ticked[2]}, m_blocks, hooks);
}

bool CReadingDlg::Finish()
{
    // A run that read no energy (a broadcast alone) leaves the meter's reading as it was,
    // rather than overwriting it with zeros.
    if (!m_readsEnergy)
        return true;
    HhuDataFile& file = m_doc.GetDataFile();
    // A block this run did not read keeps what the file holds.
    KeepUnreadBlocks(file, Position() - 1, m_blocks);
    ReadingRecord reading;
    if (!file.StoreReading(Position() - 1, m_blocks.energy, m_blocks.lmEnergy, &reading)) {
        // Never move on as if the reading were kept; say why when the file said so.
        std::string why = file.StoreFailureText();
        if (why.empty())
            why = tr("The reading could not be written to the data file!").toStdString();
        m_doc.GetPrompter().Message(why, tr("error").toStdString(), MsgIcon::Warning);
        return false;
    }
    if (m_view)
        if (CRecordListCtrl* list = m_view->ListCtrl(CMrvView::IdReadings))
            list->ShowReading(Position() - m_first, reading);
    return true;
}

void RunMeterSettingWizard(const ViewCommandArgs& args)
{
    CMeterSettingDlg dlg(*args.doc, args.meterIndex, args.constant, args.parent);
    dlg.m_baudRate = args.baudRate;
    dlg.m_portIndex = args.portIndex;
    dlg.exec();
}

void RunReadingWizard(const ViewCommandArgs& args)
{
    CReadingDlg dlg(*args.doc, args.view, args.currentSequence, args.firstSequence,
                    args.lastSequence, args.parent);
    dlg.m_baudRate = args.baudRate;
    dlg.m_portIndex = args.portIndex;
    dlg.exec();
}

} // namespace mrv
