#include "ui/meterdlg/CMeterTestDlg.h"

#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"
#include "ui/app/CMrvApp.h"
#include "ui/app/ShownText.h"
#include "ui/meterdlg/CMeterLogEdit.h"
#include "ui/view/CFilterEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mrv {

namespace {

// The bench line runs at this rate whatever the document's setting is.
constexpr int kTestBaudRate = 1200;
constexpr int kIconSize = 24;

// A fixed text marked for the translator with the comment that sets it apart.
struct Marked {
    const char* source;
    const char* comment;
};

// One of the test station's fixed texts (row titles, results, parameter words, problems) in
// the user's language.
QString Station(const char* text)
{
    return QCoreApplication::translate("mrv::MeterTestStation", text);
}

// The parameter box's text with the word before each full-width colon translated.
QString ShownParameters(const std::string& text)
{
    const QString colon = QString::fromUtf8("\xEF\xBC\x9A");
    QStringList lines = ShownText(text).split('\n');
    for (QString& line : lines)
        if (const qsizetype at = line.indexOf(colon); at > 0)
            line = Station(line.left(at).toUtf8().constData()) + line.mid(at);
    return lines.join('\n');
}

CFilterEdit* MakeNumberEdit(QWidget* parent, const char* name, const QString& accessible,
                            int digits, int width)
{
    auto* edit = new CFilterEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessible);
    edit->SetHexMode(0);
    edit->SetTypingLimit(digits);
    edit->setFixedWidth(width);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, QWidget* buddy = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

CMeterTestDlg::CMeterTestDlg(CMrvDoc& doc, QWidget* parent)
    : CMeterRunDlg(parent), m_doc(doc), m_icons(MakeStatusIcons())
{
    setWindowTitle(tr("Meter Test"));
    setObjectName("MeterTest");
    m_values = LoadMeterTestSettings(m_doc.GetSettings());
    BuildControls();
}

CMeterTestDlg::~CMeterTestDlg() = default;

void CMeterTestDlg::BuildControls()
{
    auto* controls = new QWidget(this);

    auto* parameterGroup = new QGroupBox(tr("Parameter"), controls);
    m_parameter = new QPlainTextEdit(parameterGroup);
    m_parameter->setObjectName("parameter");
    m_parameter->setAccessibleName(tr("Parameter"));
    m_parameter->setReadOnly(true);
    m_parameter->setFocusPolicy(Qt::ClickFocus);
    m_parameter->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_parameter->setFixedHeight(m_parameter->fontMetrics().lineSpacing() * 9 + 12);
    (new QVBoxLayout(parameterGroup))->addWidget(m_parameter);

    m_meterId = new CFilterEdit(controls);
    m_meterId->setObjectName("meterId");
    m_meterId->setAccessibleName(tr("Meter ID:"));
    m_meterId->SetHexMode(1);
    auto* idRow = new QHBoxLayout;
    idRow->addWidget(MakeLabel(tr("Meter ID:"), controls, m_meterId));
    idRow->addWidget(m_meterId, 1);

    auto* testGroup = new QGroupBox(tr("Test", "the rows of the test"), controls);
    auto* rows = new QGridLayout(testGroup);
    rows->setColumnStretch(2, 1);
    QFont statusFont = font();
    statusFont.setBold(true);
    for (int i = 0; i < kTestRows; ++i) {
        const QString title = TestRowTitle(TestRow(i));
        const QString shownTitle = Station(TestRowTitle(TestRow(i)));
        auto* icon = new QLabel(testGroup);
        icon->setObjectName("icon" + title);
        icon->setFixedSize(kIconSize, kIconSize);
        auto* text = new QLabel(testGroup);
        text->setObjectName("status" + title);
        text->setAccessibleName(shownTitle);
        text->setFont(statusFont);
        text->setMinimumWidth(text->fontMetrics().horizontalAdvance(Station("Comm error")) + 8);
        m_rowIcon[std::size_t(i)] = icon;
        m_rowText[std::size_t(i)] = text;
        rows->addWidget(icon, i, 0);
        rows->addWidget(new QLabel(shownTitle, testGroup), i, 1);
        rows->addWidget(text, i, 2);
    }

    auto* toleranceGroup = new QGroupBox(tr("Tolorance"), controls);
    m_kwh = MakeNumberEdit(toleranceGroup, "kwh", tr("E total"), 6, 72);
    m_hundredths = MakeNumberEdit(toleranceGroup, "hundredths", tr("E total hundredths"), 2, 32);
    m_hundredths->setAlignment(Qt::AlignLeft);
    m_diff = MakeNumberEdit(toleranceGroup, "diff", tr("Diff(0.01kWh)"), 6, 72);
    m_testEnergy = new QCheckBox(tr("Test Energy"), toleranceGroup);
    m_testEnergy->setObjectName("testEnergy");
    m_clearEnergy = new QCheckBox(tr("Clear Energy if OK"), toleranceGroup);
    m_clearEnergy->setObjectName("clearEnergy");
    auto* tolerance = new QGridLayout(toleranceGroup);
    tolerance->addWidget(MakeLabel(tr("E total"), toleranceGroup, m_kwh), 0, 0);
    auto* energy = new QHBoxLayout;
    energy->setSpacing(2);
    energy->addWidget(m_kwh);
    energy->addWidget(new QLabel(".", toleranceGroup));
    energy->addWidget(m_hundredths);
    energy->addStretch();
    tolerance->addLayout(energy, 0, 1);
    tolerance->addWidget(MakeLabel(tr("Diff(0.01kWh)"), toleranceGroup, m_diff), 1, 0);
    tolerance->addWidget(m_diff, 1, 1, Qt::AlignLeft);
    tolerance->addWidget(m_testEnergy, 2, 0, 1, 2);
    tolerance->addWidget(m_clearEnergy, 3, 0, 1, 2);

    m_kwh->setText(QString::fromStdString(m_values.kwh));
    m_hundredths->setText(QString::fromStdString(m_values.hundredths));
    m_diff->setText(QString::fromStdString(m_values.diff));
    m_testEnergy->setChecked(m_values.testEnergy);
    m_clearEnergy->setChecked(m_values.clearEnergy);

    auto* left = new QVBoxLayout(controls);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(parameterGroup);
    left->addLayout(idRow);
    left->addWidget(testGroup);
    left->addWidget(toleranceGroup);
    left->addStretch();
    controls->setFixedWidth(260);

    // The rows stay enabled during a test, so that their marks show in colour as they come.
    BuildFrame(controls, {m_meterId, toleranceGroup}, tr("Test", "run the test"), "test",
               QSize(720, 520));
    connect(RunButton(), &QPushButton::clicked, this, &CMeterTestDlg::OnTest);
    connect(CancelButton(), &QPushButton::clicked, this, &CMeterTestDlg::OnCancel);
}

QLineEdit* CMeterTestDlg::MeterIdEdit() const
{
    return m_meterId;
}

QLineEdit* CMeterTestDlg::KwhEdit() const
{
    return m_kwh;
}

QLineEdit* CMeterTestDlg::HundredthsEdit() const
{
    return m_hundredths;
}

QLineEdit* CMeterTestDlg::DiffEdit() const
{
    return m_diff;
}

MeterTestExpected CMeterTestDlg::Expected() const
{
    const DataFileParameters& p = m_doc.m_params;
    return {p.constant, p.priority, p.prescaler, p.pulseWidth};
}

void CMeterTestDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        m_meterId->clear();
        const QString text = ShownParameters(
            MeterTestParameterText(m_doc.GetPortNumber(), m_doc.GetBaudRate(), Expected()));
        m_parameter->moveCursor(QTextCursor::End);
        m_parameter->insertPlainText(text);
        ResetRows();
        m_meterId->setFocus();
    }
    QDialog::showEvent(event);
}

void CMeterTestDlg::ResetRows()
{
    for (int i = 0; i < kTestRows; ++i)
        ShowRow(TestRow(i), RowStatus{});
}

void CMeterTestDlg::ShowRow(TestRow row, const RowStatus& status)
{
    static const Marked kMarkNames[] = {QT_TRANSLATE_NOOP3("mrv::CMeterTestDlg", "wait", "mark"),
                                        QT_TRANSLATE_NOOP3("mrv::CMeterTestDlg", "pass", "mark"),
                                        QT_TRANSLATE_NOOP3("mrv::CMeterTestDlg", "fail", "mark")};
    const QIcon& icon = status.mark == RowMark::Pass   ? m_icons[0]
                        : status.mark == RowMark::Fail ? m_icons[1]
                                                       : m_icons[2];
    QLabel* iconLabel = m_rowIcon[std::size_t(row)];
    iconLabel->setPixmap(icon.pixmap(kIconSize, kIconSize));
    iconLabel->setAccessibleName(tr(kMarkNames[int(status.mark)].source, "mark"));
    QLabel* text = m_rowText[std::size_t(row)];
    text->setText(Station(status.text.c_str()));
    QPalette palette = text->palette();
    palette.setColor(QPalette::WindowText, status.mark == RowMark::Pass   ? QColor(20, 120, 40)
                                           : status.mark == RowMark::Fail ? QColor(180, 20, 20)
                                                                          : QColor(90, 90, 90));
    text->setPalette(palette);
}

bool CMeterTestDlg::TakeControlValues()
{
    MeterTestSettings v = m_values;
    v.meterId = m_meterId->text().trimmed().toStdString();
    v.kwh = m_kwh->text().trimmed().toStdString();
    v.hundredths = m_hundredths->text().trimmed().toStdString();
    v.diff = m_diff->text().trimmed().toStdString();
    v.testEnergy = m_testEnergy->isChecked();
    v.clearEnergy = m_clearEnergy->isChecked();
    if (const auto problem = CheckTestSettings(v)) {
        m_doc.GetPrompter().Message(Station(problem->message.c_str()).toStdString(), "",
                                    MsgIcon::Warning);
        CFilterEdit* field = problem->field == TestSettingProblem::Kwh          ? m_kwh
                             : problem->field == TestSettingProblem::Hundredths ? m_hundredths
                                                                                : m_diff;
        field->setFocus();
        field->selectAll();
        return false;
    }
    m_values = v;
    return true;
}

void CMeterTestDlg::OnTest()
{
    if (Running() || !TakeControlValues())
        return;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_log->clear();
    ResetRows();
    m_outcome = {};

    // The meter on the bench answers address 0.
    m_address = 0;
    BindLink(MeterDocumentCopy(m_doc), &m_address, m_doc.GetMeterValues().meterConstant);
    if (!m_doc.OpenPort(kTestBaudRate)) {
        QApplication::restoreOverrideCursor(); // the document has said why
        return;
    }

    const MeterTestSettings settings = m_values;
    const MeterTestExpected expected = Expected();
    MeterTestHooks hooks;
    hooks.rowDone = [this](TestRow row, const RowStatus& status) {
        PostToUi([this, row, status] { ShowRow(row, status); });
    };
    hooks.stopRequested = [this] { return StopRequested(); };
    MeterTestOutcome outcome;
    RunJob([&] { outcome = RunMeterTest(m_link, settings, expected, hooks); });
    m_outcome = outcome;

    // A test that did not read every row saves nothing.
    if (outcome.completed && m_doc.OpenTestDatabase()) {
        std::uint8_t time6[6] = {};
        m_link.GetPcTime(time6);
        m_doc.GetDatabase().SaveTest(MakeTestRecord(outcome, time6));
    }
    m_doc.ClosePort();
    QApplication::restoreOverrideCursor();
    RunButton()->setFocus();
}

void CMeterTestDlg::OnCancel()
{
    if (Running())
        return;
    SaveMeterTestSettings(m_doc.GetSettings(), m_values);
    m_doc.CloseTestDatabase();
    CMeterRunDlg::reject();
}

void RunMeterTestDialog(CMrvDoc& doc, QWidget* parent)
{
    CMeterTestDlg dlg(doc, parent);
    dlg.exec();
}

} // namespace mrv
