#include "ui/meterdlg/CCommSettingDlg.h"

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
    setWindowTitle("Communication Setting");
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
    m_parityList->addItems({"NONE", "ODD", "EVEN"});
    m_dataBitsEdit = new QLineEdit(this);
    m_dataBitsEdit->setReadOnly(true);
    m_stopBitsEdit = new QLineEdit(this);
    m_stopBitsEdit->setReadOnly(true);
    m_deviceLabel = new QLabel(this);
    m_deviceLabel->setObjectName("device");
    m_deviceLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Port", this), 0, 0);
    grid->addWidget(m_portList, 0, 1);
    grid->addWidget(m_deviceLabel, 0, 2);
    grid->addWidget(new QLabel("Baudrate", this), 1, 0);
    grid->addWidget(m_baudList, 1, 1);
    grid->addWidget(new QLabel("Data bit", this), 2, 0);
    grid->addWidget(m_dataBitsEdit, 2, 1);
    grid->addWidget(new QLabel("Stop bit", this), 3, 0);
    grid->addWidget(m_stopBitsEdit, 3, 1);
    grid->addWidget(new QLabel("Parity", this), 4, 0);
    grid->addWidget(m_parityList, 4, 1);
    grid->setColumnMinimumWidth(2, 120);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

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

int CCommSettingDlg::exec()
{
    m_baudList->setCurrentIndex(m_baudIndex >= 0 && m_baudIndex < m_baudList->count() ? m_baudIndex
                                                                                      : -1);
    m_portList->setCurrentIndex(m_comIndex >= 0 && m_comIndex < 4 ? m_comIndex : -1);
    m_parityList->setCurrentIndex(m_parity >= 0 && m_parity < 3 ? m_parity : -1);
    m_dataBitsEdit->setText(m_dataBits);
    m_stopBitsEdit->setText(m_stopBits);
    ShowDevice(m_portList->currentIndex());
    return QDialog::exec();
}

void CCommSettingDlg::accept()
{
    m_baudIndex = m_baudList->currentIndex();
    m_comIndex = m_portList->currentIndex();
    m_parity = m_parityList->currentIndex();
    QDialog::accept();
}

CEepromRangeDlg::CEepromRangeDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("检测EEPROM:"));
    m_startEdit = new QLineEdit(this);
    m_startEdit->setObjectName("start");
    m_endEdit = new QLineEdit(this);
    m_endEdit->setObjectName("end");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QString::fromUtf8("起始地址："), this), 0, 0);
    grid->addWidget(new QLabel("0x", this), 0, 1);
    grid->addWidget(m_startEdit, 0, 2);
    grid->addWidget(new QLabel(QString::fromUtf8("终了地址："), this), 1, 0);
    grid->addWidget(new QLabel("0x", this), 1, 1);
    grid->addWidget(m_endEdit, 1, 2);
    grid->addWidget(new QLabel(QString::fromUtf8("16进制"), this), 0, 3, 2, 1);

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
