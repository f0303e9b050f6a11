#include "ui/meterdlg/COperateDlg.h"

#include "doc/CMrvDoc.h"
#include "link/Codecs.h"
#include "link/PasswordTable.h"
#include "ui/app/CJobRunner.h"
#include "ui/meterdlg/CCommSettingDlg.h"
#include "ui/meterdlg/CFrameView.h"
#include "ui/meterdlg/CMeterLogEdit.h"
#include "ui/view/CFilterEdit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <cstring>

namespace mrv {

namespace {

constexpr const char* kSection = "comm";
constexpr const char* kNewBaudKey = "m_baudrate_new";

// The visible boxes, in the order the dialog shows them (the run order is another).
// Their texts are the run order's; the marks give the translator the ones shown.
constexpr const char* kReadBoxes[] = {
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R address"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R total energy"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R voltage"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R current"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R active power"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R power factor"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R frequency"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R reactive power"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R import energy"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R export energy"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R trip energy(key meter)"),
    QT_TRANSLATE_NOOP("mrv::COperateDlg", "R apparent power(7P)")};
constexpr const char* kWriteBoxes[] = {QT_TRANSLATE_NOOP("mrv::COperateDlg", "W address"),
                                       QT_TRANSLATE_NOOP("mrv::COperateDlg", "W baudrate")};
constexpr const char* kShowModeTexts[8] = {"current",
                                           "voltage",
                                           "active power",
                                           "reactive power(trip energy)",
                                           "power facotr(frequency)",
                                           "total energy",
                                           "import energy",
                                           "export energy"};

QLineEdit* MakeHiddenEdit(QWidget* parent, const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->hide();
    return edit;
}

// An unsigned decimal text within max, or the fallback (hidden fields hold what we put there).
unsigned long TakeUnsigned(const QLineEdit* edit, unsigned long max, unsigned long fallback,
                           int base = 10)
{
    bool ok = false;
    const qulonglong v = edit->text().trimmed().toULongLong(&ok, base);
    return ok && v <= max ? static_cast<unsigned long>(v) : fallback;
}

} // namespace

COperateDlg::COperateDlg(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(tr("Operate"));
    setObjectName("Operate");
    m_showMode.fill(1);
    BuildControls();

    // The new-baud-rate choice of the previous use, kept as the 4 bytes of an int.
    if (const auto stored = m_doc.GetSettings().GetBinary(kSection, kNewBaudKey);
        stored && stored->size() == 4) {
        std::int32_t index = 0;
        std::memcpy(&index, stored->data(), 4);
        // A damaged profile value would have no code in the meter: keep the default instead.
        if (index >= 0 && index <= 3)
            m_newBaudIndex = index;
    }
    m_newBaudList->setCurrentIndex(m_newBaudIndex);
    m_relayMode = m_doc.m_link.relayMode ? 1 : 0;
    m_plcBox->setChecked(m_relayMode != 0);
}

COperateDlg::~COperateDlg() = default;

void COperateDlg::BuildControls()
{
    m_controls = new QWidget(this);

    // Top strip.
    m_portEdit = new QLineEdit(m_controls);
    m_portEdit->setObjectName("port");
    m_baudEdit = new QLineEdit(m_controls);
    m_baudEdit->setObjectName("baudrate");
    for (auto* e : {m_portEdit, m_baudEdit}) {
        e->setReadOnly(true);
        e->setFixedWidth(64);
        // Shown, not edited: give them the dialog's background so they do not invite typing.
        QPalette palette = e->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        e->setPalette(palette);
    }
    m_addressEdit = new QLineEdit("0", m_controls);
    m_addressEdit->setObjectName("address");
    m_addressEdit->setFixedWidth(48);
    auto* strip = new QHBoxLayout;
    strip->addWidget(new QLabel(tr("port"), m_controls));
    strip->addWidget(m_portEdit);
    strip->addSpacing(8);
    strip->addWidget(new QLabel(tr("baudrate"), m_controls));
    strip->addWidget(m_baudEdit);
    strip->addSpacing(8);
    strip->addWidget(new QLabel(tr("address"), m_controls));
    strip->addWidget(m_addressEdit);
    strip->addWidget(new QLabel(tr("address 0 broadcast address"), m_controls));
    strip->addStretch();
    strip->addSpacing(8);

    m_threePhaseBox = new QCheckBox(tr("7P meter ,please select"), m_controls);
    m_threePhaseBox->setObjectName("threePhase");

    const auto& order = RunOrder();
    auto makeBox = [&](int pos, QWidget* parent) {
        auto* box = new QCheckBox(tr(order[std::size_t(pos)].text), parent);
        box->setObjectName(QString::fromUtf8(order[std::size_t(pos)].text));
        m_boxes[std::size_t(pos)] = box;
        return box;
    };

    auto* readGroup = new QGroupBox(tr("read", "operations that read the meter"), m_controls);
    auto* readGrid = new QGridLayout(readGroup);
    int n = 0;
    for (const char* text : kReadBoxes) {
        const int pos = FindOperation(text);
        if (pos < 0)
            continue;
        readGrid->addWidget(makeBox(pos, readGroup), n % 6, n / 6);
        ++n;
    }

    auto* writeGroup = new QGroupBox(tr("write", "operations that program the meter"), m_controls);
    auto* writeLayout = new QHBoxLayout(writeGroup);
    auto* writeBoxes = new QVBoxLayout;
    for (const char* text : kWriteBoxes)
        if (const int pos = FindOperation(text); pos >= 0)
            writeBoxes->addWidget(makeBox(pos, writeGroup));
    writeBoxes->addStretch();
    auto* baudGroup = new QGroupBox(tr("baudrate select"), writeGroup);
    auto* baudLayout = new QVBoxLayout(baudGroup);
    m_newBaudList = new QComboBox(baudGroup);
    m_newBaudList->setObjectName("newBaud");
    m_newBaudList->setEditable(false); // a typed rate would have no code in the meter
    m_newBaudList->addItems({"1200bps", "2400bps", "4800bps", "9600bps"});
    baudLayout->addWidget(m_newBaudList);
    writeLayout->addLayout(writeBoxes);
    writeLayout->addWidget(baudGroup);
    writeLayout->addStretch();

    // Every other box of the run order exists but stays hidden, so it stays unticked.
    for (int pos = 0; pos < kRunOrderSize; ++pos) {
        const auto& entry = order[std::size_t(pos)];
        if (entry.group == BoxGroup::None || m_boxes[std::size_t(pos)])
            continue;
        makeBox(pos, this)->hide();
    }

    // The link options and write values the document keeps; hidden as well.
    m_plcBox = new QCheckBox("PLC", this);
    m_plcBox->setObjectName("PLC");
    m_runThroughBox = new QCheckBox("Run through", this);
    m_runThroughBox->setObjectName("runThrough");
    m_moneyEdit = MakeHiddenEdit(this, "money", "0.00");
    m_moneyWordEdit = MakeHiddenEdit(this, "moneyWord", "0");
    m_targetEdit = new CFilterEdit(this);
    m_targetEdit->setObjectName("target");
    m_targetEdit->SetHexMode(1);
    m_targetEdit->setMaxLength(2);
    m_targetEdit->setText("0");
    m_relay1Edit = MakeHiddenEdit(this, "relay1", "0");
    m_relay2Edit = MakeHiddenEdit(this, "relay2", "0");
    m_leadEdit = MakeHiddenEdit(this, "lead", "0");
    for (const char* label : {"RT1:", "RT2:", "DCU:"})
        (new QLabel(label, this))->hide();
    auto* showGroup = new QGroupBox("show mode select", this);
    showGroup->setObjectName("showMode");
    for (std::size_t i = 0; i < m_showModeBoxes.size(); ++i) {
        m_showModeBoxes[i] = new QCheckBox(kShowModeTexts[i], showGroup);
        m_showModeBoxes[i]->setChecked(true);
    }
    showGroup->hide();
    m_passwordButton = new QPushButton("New password tables", this);
    m_passwordButton->setObjectName("passwordTables");
    m_passwordButton->setAutoDefault(false);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_plcBox, m_runThroughBox, m_targetEdit, m_passwordButton})
        w->hide();
    connect(m_passwordButton, &QPushButton::clicked, this, &COperateDlg::OnNewPasswordTables);

    // Outside the controls: during a run "Stop" is the one button enabled.
    m_stopButton = new QPushButton(tr("Stop"), this);
    m_stopButton->setObjectName("stop");
    m_stopButton->setAutoDefault(false);
    m_sendButton = new QPushButton(tr("Send"), this);
    m_sendButton->setObjectName("send");
    m_sendButton->setDefault(true); // Enter sends
    m_closeButton = new QPushButton(tr("close", "the dialog"), this);
    m_closeButton->setObjectName("close");
    m_closeButton->setAutoDefault(false);
    connect(m_sendButton, &QPushButton::clicked, this, &COperateDlg::OnSend);
    connect(m_closeButton, &QPushButton::clicked, this, &COperateDlg::OnClose);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stopButton);
    buttons->addWidget(m_sendButton);
    buttons->addWidget(m_closeButton);

    auto* left = new QVBoxLayout(m_controls);
    left->setContentsMargins(0, 0, 0, 0);
    left->addLayout(strip);
    left->addWidget(m_threePhaseBox);
    left->addWidget(readGroup);
    left->addWidget(writeGroup);
    left->addStretch();

    // The log stays enabled during a run so it can be scrolled; it is read-only anyway.
    m_log = new CMeterLogEdit(this);

    // The frames below the controls and the log, over the whole width their bytes need. The
    // view stays usable during a run too: rows open, the trace can be saved.
    m_frames = new CFrameView(m_doc.GetPrompter(), this);
    auto* upper = new QWidget(this);
    auto* panes = new QHBoxLayout(upper);
    panes->setContentsMargins(0, 0, 0, 0);
    panes->addWidget(m_controls);
    panes->addWidget(m_log, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName("logAndFrames");
    split->setChildrenCollapsible(false);
    split->addWidget(upper);
    split->addWidget(m_frames);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    auto* top = new QVBoxLayout(this);
    top->addWidget(split, 1);
    top->addLayout(buttons);
    resize(1040, 760);

    m_runner = std::make_unique<CJobRunner>(
        std::vector<QWidget*>{m_controls, m_sendButton, m_closeButton}, m_stopButton);
}

void COperateDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        InitDialog();
    }
    QDialog::showEvent(event);
}

void COperateDlg::InitDialog()
{
    m_baudEdit->setText(QString::number(m_baudRate));
    m_portEdit->setText(QString("COM%1").arg(m_portIndex + 1));
    // The port and baud rate are only shown; the first thing to type is the meter's address.
    m_addressEdit->setFocus();
    m_addressEdit->selectAll();
}

QCheckBox* COperateDlg::OperationBox(const QString& text) const
{
    const int pos = FindOperation(text.toStdString());
    return pos < 0 ? nullptr : m_boxes[std::size_t(pos)];
}

bool COperateDlg::TakeControlValues(bool checkAddress)
{
    bool ok = false;
    const int address = m_addressEdit->text().trimmed().toInt(&ok, 10);
    if (!ok || address < 0 || address > 247) {
        if (checkAddress) {
            // Going on with the value cut to a byte would talk to another meter.
            m_doc.GetPrompter().Message((ok ? tr("Please enter an integer between 0 and 247.")
                                            : tr("Please enter an integer."))
                                            .toStdString(),
                                        "", MsgIcon::Warning);
            m_addressEdit->setFocus();
            m_addressEdit->selectAll();
            return false;
        }
    } else {
        m_address = static_cast<std::uint8_t>(address);
    }

    for (int pos = 0; pos < kRunOrderSize; ++pos) {
        const QCheckBox* box = m_boxes[std::size_t(pos)];
        m_operations[std::size_t(pos)] = box && box->isChecked() ? 1 : 0;
    }
    m_relayMode = m_plcBox->isChecked() ? 1 : 0;
    m_carrierMode = m_runThroughBox->isChecked() ? 1 : 0;
    m_threePhase = m_threePhaseBox->isChecked() ? 1 : 0;
    if (m_newBaudList->currentIndex() >= 0)
        m_newBaudIndex = m_newBaudList->currentIndex();
    for (std::size_t i = 0; i < m_showModeBoxes.size(); ++i)
        m_showMode[i] = m_showModeBoxes[i]->isChecked() ? 1 : 0;

    // Kept in whole cents from the text typed to the bytes sent. An amount the register
    // cannot hold is refused when it is to be written, never cut or rounded.
    const std::optional<std::uint32_t> cents =
        ParseMoneyCents(m_moneyEdit->text().toStdString());
    if (cents) {
        m_moneyCents = *cents;
    } else if (checkAddress && m_operations[std::size_t(FindOperation("W money"))]) {
        m_doc.GetPrompter().Message(
            tr("Money must be an amount from 0 to 999999.99 with at most two decimals.")
                .toStdString(),
            "", MsgIcon::Warning);
        m_moneyEdit->setFocus();
        m_moneyEdit->selectAll();
        return false;
    }
    m_moneyWord = std::uint32_t(TakeUnsigned(m_moneyWordEdit, 0xFFFFFFFFul, m_moneyWord));
    m_targetAddress = std::uint16_t(TakeUnsigned(m_targetEdit, 0xFF, m_targetAddress, 16));
    m_relay1 = std::uint16_t(TakeUnsigned(m_relay1Edit, 0xFFFF, m_relay1));
    m_relay2 = std::uint16_t(TakeUnsigned(m_relay2Edit, 0xFFFF, m_relay2));
    m_carrierLead = std::uint8_t(TakeUnsigned(m_leadEdit, 0xFF, m_carrierLead));
    return true;
}

void COperateDlg::CopyToDocument()
{
    MeterValues& v = m_doc.m_values;
    v.moneyCents = m_moneyCents;
    v.moneyWord = m_moneyWord;
    v.showMode = m_showMode;
    v.threePhase = m_threePhase != 0;
    v.newBaudIndex = m_newBaudIndex;
    // "W address" tells the meter the rate the line runs at now.
    v.presentBaudRate = m_doc.GetBaudRate();

    LinkSettings& link = m_doc.m_link;
    link.relayMode = m_relayMode != 0;
    link.targetAddress = m_targetAddress;
    link.relay1 = m_relay1;
    link.relay2 = m_relay2;
    link.carrierMode = m_carrierMode != 0;
    link.carrierLead = m_carrierLead;
}

void COperateDlg::OnSend()
{
    if (Running())
        return;
    if (!TakeControlValues(true))
        return;
    CopyToDocument();
    m_linkAddress = m_address;
    // The worker reads a copy of what it sends; the document stays the UI thread's.
    m_docCopy = MeterDocumentCopy(m_doc);
    m_link.Attach(&m_docCopy, m_log->PostingSink(*m_runner), &m_linkAddress,
                  m_docCopy.values.meterConstant);
    m_log->clear();
    m_log->repaint();
    // The engine records on the worker; the view takes each transaction on this thread.
    m_frames->Clear();
    m_link.SetTraceSink([this](const TransactionTrace& trace) {
        m_runner->Post([this, trace] { m_frames->Add(trace); });
    });

    // The port, the message boxes and the EEPROM range question belong to this thread; the
    // worker asks for them and waits.
    SendHooks hooks;
    hooks.openPort = [this] {
        bool opened = false;
        m_runner->OnUiThread([&] { opened = m_doc.OpenPort(m_doc.GetBaudRate()) != 0; });
        return opened;
    };
    hooks.closePort = [this] { m_runner->OnUiThread([this] { m_doc.ClosePort(); }); };
    hooks.eepromRange = [this](const EepromRange& previous) {
        std::optional<EepromRange> range;
        m_runner->OnUiThread([&] { range = AskEepromRange(previous); });
        return range;
    };
    hooks.stopRequested = [this] { return m_runner->StopRequested(); };

    SendResult result;
    const OperationFlags ticked = m_operations;
    EepromRange eeprom = m_eeprom;
    m_runner->Run([&] { result = RunSendSequence(m_link, ticked, hooks, eeprom); });
    m_eeprom = eeprom;
    m_sendButton->setFocus();

    if (result.showAddress) {
        m_address = result.address;
        m_addressEdit->setText(QString::number(m_address));
    }
}

bool COperateDlg::Running() const
{
    return m_runner->Running();
}

std::optional<EepromRange> COperateDlg::AskEepromRange(const EepromRange& previous)
{
    CEepromRangeDlg dlg(this);
    dlg.m_start = QString::asprintf("%02x", previous.start);
    dlg.m_end = QString::asprintf("%02x", previous.end);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    std::uint8_t start = 0;
    std::uint8_t end = 0;
    HexTextToBytes(dlg.m_start.toStdString(), std::span(&start, 1));
    HexTextToBytes(dlg.m_end.toStdString(), std::span(&end, 1));
    return EepromRange{start, end};
}

void COperateDlg::OnNewPasswordTables()
{
    NewPasswordTables(m_doc.m_values);
}

void COperateDlg::SaveNewBaudIndex()
{
    const std::int32_t index = m_newBaudIndex;
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &index, 4);
    m_doc.GetSettings().PutBinary(kSection, kNewBaudKey, bytes);
}

void COperateDlg::OnClose()
{
    if (Running())
        return;
    TakeControlValues(false);
    SaveNewBaudIndex();
    QDialog::reject();
}

void COperateDlg::reject()
{
    // Escape and the close box end the dialog the same way "close" does.
    OnClose();
}

void COperateDlg::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void RunOperateDialog(CMrvDoc& doc, QWidget* parent)
{
    COperateDlg dlg(doc, parent);
    dlg.m_baudRate = doc.GetBaudRate();
    dlg.m_portIndex = doc.m_comIndex;
    dlg.exec();
}

} // namespace mrv
