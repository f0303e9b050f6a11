#include "ui/meterdlg/CCommSettingDlg.h"

#include "doc/CMrvDoc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace mrv {

CCommSettingDlg::CCommSettingDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Communication Setting"));
    setObjectName("CommSettingDlg");

    m_baudList = new QComboBox(this);
    m_baudList->setObjectName("baudrate");
    // 115200, the ninth rate of the document's table, is not offered.
    m_baudList->addItems({"600", "1200", "2400", "4800", "9600", "19200", "38400", "57600"});
    m_portList = new QComboBox(this);
    m_portList->setObjectName("port");
    m_portList->addItems({"COM1", "COM2", "COM3", "COM4"});
    m_parityList = new QComboBox(this);
    m_parityList->setObjectName("parity");
    m_parityList->addItems({tr("NONE", "parity"), tr("ODD", "parity"), tr("EVEN", "parity")});
    m_dataBitsEdit = new QLineEdit(this);
    m_dataBitsEdit->setObjectName("dataBits");
    m_dataBitsEdit->setReadOnly(true);
    m_stopBitsEdit = new QLineEdit(this);
    m_stopBitsEdit->setObjectName("stopBits");
    m_stopBitsEdit->setReadOnly(true);
    m_deviceLabel = new QLabel(this);
    m_deviceLabel->setObjectName("device");
    m_deviceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grid = new QGridLayout;
    const std::pair<QString, QWidget*> rows[] = {{tr("Port"), m_portList},
                                                 {tr("Baudrate"), m_baudList},
                                                 {tr("Data bit"), m_dataBitsEdit},
                                                 {tr("Stop bit"), m_stopBitsEdit},
                                                 {tr("Parity"), m_parityList}};
    int row = 0;
    for (const auto& [text, field] : rows) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field); // names the field to screen readers
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->addWidget(m_deviceLabel, 0, 2);
    grid->setColumnMinimumWidth(2, 120);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Tab goes down the rows, then to the buttons.
    QWidget* previous = nullptr;
    for (const auto& [text, field] : rows) {
        if (previous)
            setTabOrder(previous, field);
        previous = field;
    }
    setTabOrder(previous, buttons);

    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(buttons);

    connect(m_portList, &QComboBox::currentIndexChanged, this, &CCommSettingDlg::ShowDevice);
}

void CCommSettingDlg::ShowDevice(int index)
{
    if (index < 0 || index > 3)
        m_deviceLabel->clear();
    else
        m_deviceLabel->setText(QString::fromStdString(m_devicePaths[std::size_t(index)]));
}

namespace {

// Selects `index` when the list offers it; otherwise nothing is selected and the list shows
// `kept`, the value that stays when nothing else is chosen.
void ShowChoice(QComboBox* list, int index, const QString& kept)
{
    const bool offered = index >= 0 && index < list->count();
    list->setPlaceholderText(offered ? QString() : kept);
    list->setCurrentIndex(offered ? index : -1);
}

// The chosen index, or `given` when nothing was chosen: OK never stores "no choice".
int TakeChoice(const QComboBox* list, int given)
{
    return list->currentIndex() >= 0 ? list->currentIndex() : given;
}

} // namespace

int CCommSettingDlg::exec()
{
    // 115200 (or a rate a damaged profile names) is not in the list but stays in use.
    ShowChoice(m_baudList, m_baudIndex, QString::number(CMrvDoc::BaudRateOf(m_baudIndex)));
    ShowChoice(m_portList, m_comIndex,
               m_comIndex >= 0 ? QString("COM%1").arg(m_comIndex + 1) : tr("(unchanged)"));
    static const struct {
        const char* source;
        const char* comment;
    } kParities[] = {QT_TRANSLATE_NOOP3("mrv::CCommSettingDlg", "NONE", "parity"),
                     QT_TRANSLATE_NOOP3("mrv::CCommSettingDlg", "ODD", "parity"),
                     QT_TRANSLATE_NOOP3("mrv::CCommSettingDlg", "EVEN", "parity"),
                     QT_TRANSLATE_NOOP3("mrv::CCommSettingDlg", "MARK", "parity"),
                     QT_TRANSLATE_NOOP3("mrv::CCommSettingDlg", "SPACE", "parity")};
    ShowChoice(m_parityList, m_parity,
               m_parity >= 0 && m_parity < 5 ? tr(kParities[m_parity].source, "parity")
                                             : tr("(unchanged)"));
    m_dataBitsEdit->setText(m_dataBits);
    m_stopBitsEdit->setText(m_stopBits);
    ShowDevice(m_portList->currentIndex());
    m_portList->setFocus();
    return QDialog::exec();
}

void CCommSettingDlg::accept()
{
    m_baudIndex = TakeChoice(m_baudList, m_baudIndex);
    m_comIndex = TakeChoice(m_portList, m_comIndex);
    m_parity = TakeChoice(m_parityList, m_parity);
    QDialog::accept();
}

CEepromRangeDlg::CEepromRangeDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("检测EEPROM:"));
    m_startEdit = new QLineEdit(this);
    m_startEdit->setObjectName("start");
    m_endEdit = new QLineEdit(this);
    m_endEdit->setObjectName("end");

    auto* grid = new QGridLayout;
    auto* startLabel = new QLabel(tr("起始地址："), this);
    startLabel->setBuddy(m_startEdit); // names the field to screen readers
    grid->addWidget(startLabel, 0, 0);
    grid->addWidget(new QLabel("0x", this), 0, 1);
    grid->addWidget(m_startEdit, 0, 2);
    auto* endLabel = new QLabel(tr("终了地址："), this);
    endLabel->setBuddy(m_endEdit);
    grid->addWidget(endLabel, 1, 0);
    grid->addWidget(new QLabel("0x", this), 1, 1);
    grid->addWidget(m_endEdit, 1, 2);
    grid->addWidget(new QLabel(tr("16进制"), this), 0, 3, 2, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(buttons);
}

int CEepromRangeDlg::exec()
{
    m_startEdit->setText(m_start);
    m_endEdit->setText(m_end);
    return QDialog::exec();
}

void CEepromRangeDlg::accept()
{
    m_start = m_startEdit->text();
    m_end = m_endEdit->text();
    QDialog::accept();
}

} // namespace mrv
