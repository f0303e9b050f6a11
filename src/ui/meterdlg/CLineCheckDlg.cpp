#include "ui/meterdlg/CLineCheckDlg.h"

#include "base/NumberText.h"
#include "doc/CMrvDoc.h"
#include "doc/PhraseText.h"
#include "link/SerialPort.h"
#include "ui/app/CJobRunner.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace mrv {

namespace {

constexpr int kDefaultSpeeds[] = {1200, 2400, 4800, 9600};
// A text marked for the translator with the comment that sets it apart.
struct Marked {
    const char* source;
    const char* comment;
};

const Marked kParityTexts[] = {QT_TRANSLATE_NOOP3("mrv::CLineCheckDlg", "NONE", "parity"),
                               QT_TRANSLATE_NOOP3("mrv::CLineCheckDlg", "ODD", "parity"),
                               QT_TRANSLATE_NOOP3("mrv::CLineCheckDlg", "EVEN", "parity")};

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

// One of the line check's fixed texts in the user's language.
QString Shown(const std::string& s)
{
    return QCoreApplication::translate("mrv::LineCheck", s.c_str());
}

QString Parity(std::uint8_t parity)
{
    return Shown(ParityName(parity));
}

QString Duration(std::uint64_t ms)
{
    if (ms < 120000)
        return CLineCheckDlg::tr("%1 s").arg((ms + 999) / 1000);
    return CLineCheckDlg::tr("%1 min").arg((ms + 59999) / 60000);
}

} // namespace

CLineCheckDlg::CLineCheckDlg(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(tr("Line Check"));
    setObjectName("LineCheckDlg");
    m_controls = new QWidget(this);

    m_portList = new QComboBox(m_controls);
    m_portList->setObjectName("port");
    m_portList->addItems({"COM1", "COM2", "COM3", "COM4"});
    m_portList->setAccessibleName(tr("Port"));
    m_deviceLabel = new QLabel(m_controls);
    m_deviceLabel->setObjectName("device");
    m_deviceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_portList);
    portRow->addWidget(m_deviceLabel, 1);

    auto* speeds = new QGridLayout;
    for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
        auto* box = new QCheckBox(QString::number(kSpeeds[i]), m_controls);
        box->setObjectName(QString("baud%1").arg(kSpeeds[i]));
        box->setChecked(std::find(std::begin(kDefaultSpeeds), std::end(kDefaultSpeeds),
                                  kSpeeds[i]) != std::end(kDefaultSpeeds));
        speeds->addWidget(box, int(i / 4), int(i % 4));
        m_speedBoxes[i] = box;
        connect(box, &QCheckBox::toggled, this, &CLineCheckDlg::ShowEstimate);
    }
    auto* parities = new QHBoxLayout;
    for (std::size_t p = 0; p < m_parityBoxes.size(); ++p) {
        auto* box = new QCheckBox(tr(kParityTexts[p].source, "parity"), m_controls);
        box->setObjectName(QString("parity") + kParityTexts[p].source);
        box->setChecked(true);
        parities->addWidget(box);
        m_parityBoxes[p] = box;
        connect(box, &QCheckBox::toggled, this, &CLineCheckDlg::ShowEstimate);
    }
    parities->addStretch();

    m_first = new QSpinBox(m_controls);
    m_first->setObjectName("firstAddress");
    m_last = new QSpinBox(m_controls);
    m_last->setObjectName("lastAddress");
    for (QSpinBox* s : {m_first, m_last})
        s->setRange(1, 247);
    m_first->setValue(1);
    m_last->setValue(247);
    m_first->setAccessibleName(tr("First address"));
    m_last->setAccessibleName(tr("Last address"));
    auto* addresses = new QHBoxLayout;
    addresses->addWidget(m_first);
    addresses->addWidget(new QLabel(tr("to", "from one address to another"), m_controls));
    addresses->addWidget(m_last);
    addresses->addStretch();
    m_timeout = new QSpinBox(m_controls);
    m_timeout->setObjectName("timeout");
    m_timeout->setRange(10, 10000);
    m_timeout->setSingleStep(50);
    m_timeout->setSuffix(" ms");
    m_timeout->setValue(200);
    m_timeout->setAccessibleName(tr("Wait per try"));
    for (QSpinBox* s : {m_first, m_last, m_timeout})
        connect(s, &QSpinBox::valueChanged, this, &CLineCheckDlg::ShowEstimate);
    m_estimate = new QLabel(m_controls);
    m_estimate->setObjectName("estimate");

    auto* form = new QFormLayout;
    const auto labelled = [&](const QString& text, QWidget* buddy, QLayout* layout) {
        auto* label = new QLabel(text, m_controls);
        label->setBuddy(buddy);
        form->addRow(label, layout);
    };
    labelled(tr("Port"), m_portList, portRow);
    labelled(tr("Speeds"), m_speedBoxes[0], speeds);
    labelled(tr("Parities"), m_parityBoxes[0], parities);
    labelled(tr("Addresses"), m_first, addresses);
    auto* timeoutRow = new QHBoxLayout;
    timeoutRow->addWidget(m_timeout);
    timeoutRow->addWidget(m_estimate, 1);
    labelled(tr("Wait per try"), m_timeout, timeoutRow);
    auto* controlsLayout = new QVBoxLayout(m_controls);
    controlsLayout->setContentsMargins(0, 0, 0, 0);
    controlsLayout->addLayout(form);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName("progress");
    m_progress->setTextVisible(true);
    m_progress->setAccessibleName(tr("Progress"));
    m_current = new QLabel(this);
    m_current->setObjectName("current");

    m_meters = new QTreeWidget(this);
    m_meters->setObjectName("meters");
    m_meters->setAccessibleName(tr("Meters found"));
    m_meters->setRootIsDecorated(false);
    m_meters->setHeaderLabels({tr("Address"), tr("Speed"), tr("Parity"), tr("Answer after")});
    m_meters->header()->setStretchLastSection(true);
    m_meters->setMinimumHeight(90);

    m_report = new QPlainTextEdit(this);
    m_report->setObjectName("report");
    m_report->setAccessibleName(tr("Findings"));
    m_report->setReadOnly(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_report->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    m_useSettings = new QPushButton(tr("Use Selected Settings"), this);
    m_useSettings->setObjectName("useSettings");
    m_useSettings->setEnabled(false);
    m_useStableName = new QPushButton(tr("Use Stable Name"), this);
    m_useStableName->setObjectName("useStableName");
    m_useStableName->setEnabled(false);
    m_checkButton = new QPushButton(tr("Check", "start the line check"), this);
    m_checkButton->setObjectName("check");
    m_checkButton->setDefault(true);
    m_stopButton = new QPushButton(tr("Stop"), this);
    m_stopButton->setObjectName("stop");
    m_stopButton->setAutoDefault(false);
    m_closeButton = new QPushButton(tr("Close", "the dialog"), this);
    m_closeButton->setObjectName("close");
    m_closeButton->setAutoDefault(false);
    for (QPushButton* b : {m_useSettings, m_useStableName})
        b->setAutoDefault(false);
    connect(m_checkButton, &QPushButton::clicked, this, &CLineCheckDlg::OnCheck);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_useSettings, &QPushButton::clicked, this, &CLineCheckDlg::OnUseSettings);
    connect(m_useStableName, &QPushButton::clicked, this, &CLineCheckDlg::OnUseStableName);
    connect(m_meters, &QTreeWidget::itemSelectionChanged, this, [this] {
        m_useSettings->setEnabled(!Running() && !m_meters->selectedItems().isEmpty());
    });
    connect(m_portList, &QComboBox::currentIndexChanged, this, &CLineCheckDlg::ShowDevice);

    auto* meterButtons = new QHBoxLayout;
    meterButtons->addWidget(m_useSettings);
    meterButtons->addWidget(m_useStableName);
    meterButtons->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stopButton);
    buttons->addWidget(m_checkButton);
    buttons->addWidget(m_closeButton);

    auto* top = new QVBoxLayout(this);
    top->addWidget(m_controls);
    top->addWidget(m_progress);
    top->addWidget(m_current);
    top->addWidget(new QLabel(tr("Meters found:"), this));
    top->addWidget(m_meters, 1);
    top->addLayout(meterButtons);
    top->addWidget(new QLabel(tr("Findings:"), this));
    top->addWidget(m_report, 2);
    top->addLayout(buttons);
    resize(640, 620);

    m_runner =
        std::make_unique<CJobRunner>(std::vector<QWidget*>{m_controls, m_checkButton, m_closeButton,
                                                           m_useSettings, m_useStableName},
                                     m_stopButton);
    m_portList->setCurrentIndex(std::clamp(int(m_doc.m_comIndex), 0, 3));
    ShowDevice();
    ShowEstimate();
}

CLineCheckDlg::~CLineCheckDlg() = default;

QCheckBox* CLineCheckDlg::SpeedBox(int baud) const
{
    for (std::size_t i = 0; i < kSpeeds.size(); ++i)
        if (kSpeeds[i] == baud)
            return m_speedBoxes[i];
    return nullptr;
}

QCheckBox* CLineCheckDlg::ParityBox(std::uint8_t parity) const
{
    return parity < m_parityBoxes.size() ? m_parityBoxes[parity] : nullptr;
}

bool CLineCheckDlg::Running() const
{
    return m_runner->Running();
}

ScanPlan CLineCheckDlg::Plan() const
{
    ScanPlan plan;
    plan.bauds.clear();
    for (std::size_t i = 0; i < kSpeeds.size(); ++i)
        if (m_speedBoxes[i]->isChecked())
            plan.bauds.push_back(std::uint32_t(kSpeeds[i]));
    // The program's own parity first: a meter set up for it is found soonest.
    plan.parities.clear();
    for (std::uint8_t p : {std::uint8_t(2), std::uint8_t(0), std::uint8_t(1)})
        if (m_parityBoxes[p]->isChecked())
            plan.parities.push_back(p);
    plan.first = std::uint8_t(m_first->value());
    plan.last = std::uint8_t(m_last->value());
    plan.timeoutMs = std::uint32_t(m_timeout->value());
    plan.sendDelay = m_doc.m_link.sendDelay;
    return plan;
}

void CLineCheckDlg::ShowDevice()
{
    m_deviceLabel->setText(Text(m_doc.ComDevice(m_portList->currentIndex())));
}

void CLineCheckDlg::ShowEstimate()
{
    const ScanPlan plan = Plan();
    if (const std::string problem = plan.Problem(); !problem.empty()) {
        m_estimate->setText(Shown(problem));
        return;
    }
    m_estimate->setText(
        tr("%1 tries, at most %2").arg(plan.Tries()).arg(Duration(plan.LongestMs())));
}

void CLineCheckDlg::Say(const QString& text)
{
    m_report->appendPlainText(text);
    m_report->verticalScrollBar()->setValue(m_report->verticalScrollBar()->maximum());
}

void CLineCheckDlg::AddMeter(const ScanHit& hit)
{
    auto* item = new QTreeWidgetItem(m_meters);
    item->setText(0, QString::number(hit.address));
    item->setText(1, QString::number(hit.baud));
    item->setText(2, Parity(hit.parity));
    item->setText(3, Text(MillisText(hit.responseUs)) + " ms");
    item->setData(0, Qt::UserRole, int(hit.baud));
    item->setData(1, Qt::UserRole, int(hit.parity));
    if (m_meters->topLevelItemCount() == 1)
        m_meters->setCurrentItem(item);
}

void CLineCheckDlg::OnCheck()
{
    if (Running())
        return;
    const ScanPlan plan = Plan();
    if (const std::string problem = plan.Problem(); !problem.empty()) {
        m_doc.GetPrompter().Message(Shown(problem).toStdString(), tr("Line Check").toStdString(),
                                    MsgIcon::Warning);
        return;
    }
    m_report->clear();
    m_meters->clear();
    m_progress->setValue(0);
    m_current->clear();
    m_stableName.reset();
    m_useStableName->setEnabled(false);

    const int port = m_portList->currentIndex();
    m_checkedPort = port;
    const std::string path = m_doc.ComDevice(port);
    Say(tr("COM%1 is %2.").arg(port + 1).arg(Text(path)));
    // The document keeps the port closed between runs; nothing of ours holds it now.
    SerialPort::ResetTable();
    const DeviceReport device = CheckDevice(path);
    QStringList said;
    if (!device.problemPhrases.empty())
        said << Translated(device.problemPhrases);
    for (const Phrase& note : device.notePhrases)
        said << Translated(note);
    if (!said.isEmpty())
        Say(said.join('\n'));
    if (device.usb && !device.usb->byIdPath.empty() && device.usb->byIdPath != path) {
        m_stableName = device.usb->byIdPath;
        m_useStableName->setEnabled(true);
    }
    if (!device.Ready())
        return;

    Say(tr("Trying %1 speeds x %2 parities x addresses %3 to %4, %5 ms each: up to %6 tries.")
            .arg(plan.bauds.size())
            .arg(plan.parities.size())
            .arg(plan.first)
            .arg(plan.last)
            .arg(plan.timeoutMs)
            .arg(plan.Tries()));
    m_progress->setRange(0, plan.Tries());

    ScanHooks hooks;
    hooks.stopRequested = [this] { return m_runner->StopRequested(); };
    hooks.progress = [this](int done, std::uint32_t baud, std::uint8_t parity, std::uint8_t a) {
        m_runner->Post([this, done, baud, parity, a] {
            m_progress->setValue(done);
            m_current->setText(tr("%1 %2, address %3").arg(baud).arg(Parity(parity)).arg(a));
        });
    };
    hooks.found = [this](const ScanHit& hit) { m_runner->Post([this, hit] { AddMeter(hit); }); };
    ScanResult result;
    const int portNumber = port + 1;
    m_runner->Run([&] { result = RunLineScan(portNumber, plan, hooks); });

    m_progress->setValue(result.stopped ? m_progress->value() : m_progress->maximum());
    m_current->clear();
    if (!result.opened) {
        Say(tr("The port could not be opened for the scan."));
        return;
    }
    for (const Phrase& note : result.notePhrases)
        Say(Translated(note));
    if (result.stopped)
        Say(tr("Stopped after %1 tries.").arg(result.tries));
    if (result.meters.empty())
        Say(tr("No meter answered in %1 tries. Check the wiring (A and B swapped?), the "
               "adapter's power, and try other speeds or a longer wait.")
                .arg(result.tries));
    else
        Say(tr("%1 found in %2 tries. Select one and press \"Use Selected Settings\" to "
               "make its speed and parity the port's.")
                .arg(result.meters.size() == 1 ? tr("1 meter")
                                               : tr("%1 meters").arg(result.meters.size()))
                .arg(result.tries));
    m_useSettings->setEnabled(!m_meters->selectedItems().isEmpty());
    m_checkButton->setFocus();
}

void CLineCheckDlg::OnUseSettings()
{
    const QList<QTreeWidgetItem*> selected = m_meters->selectedItems();
    if (selected.isEmpty() || m_checkedPort < 0)
        return;
    const int baud = selected.front()->data(0, Qt::UserRole).toInt();
    const int parity = selected.front()->data(1, Qt::UserRole).toInt();
    for (int i = 0; i < int(CMrvDoc::kBaudRates.size()); ++i)
        if (CMrvDoc::kBaudRates[std::size_t(i)] == baud)
            m_doc.m_baudIndex = i;
    m_doc.m_parity = parity;
    m_doc.m_comIndex = m_checkedPort;
    Say(tr("COM%1 at %2 bit/s, parity %3, is now the meter link's port.")
            .arg(m_checkedPort + 1)
            .arg(baud)
            .arg(Parity(std::uint8_t(parity))));
}

void CLineCheckDlg::OnUseStableName()
{
    if (!m_stableName || m_checkedPort < 0)
        return;
    m_doc.SetComDevice(m_checkedPort, *m_stableName);
    ShowDevice();
    m_useStableName->setEnabled(false);
    Say(tr("COM%1 is now %2.").arg(m_checkedPort + 1).arg(Text(*m_stableName)));
}

void CLineCheckDlg::reject()
{
    if (Running())
        return;
    QDialog::reject();
}

void CLineCheckDlg::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void RunLineCheckDialog(CMrvDoc& doc, QWidget* parent)
{
    CLineCheckDlg dlg(doc, parent);
    dlg.exec();
}

} // namespace mrv
