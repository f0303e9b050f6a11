#pragma once
// "Communication Setting": the port, baud rate and parity with which the document opens the
// meter link. The indexes start at -1 (nothing selected) until the opener fills them.
#include <QDialog>
#include <QString>

#include <array>
#include <string>

class QComboBox;
class QLineEdit;
class QLabel;

namespace mrv {

class CCommSettingDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCommSettingDlg(QWidget* parent = nullptr);

    // Filled by the opener before exec(), read back afterwards.
    int m_baudIndex = -1;
    int m_comIndex = -1;
    QString m_dataBits;
    QString m_stopBits;
    int m_parity = -1;
    // Device path of each of COM1..COM4, shown beside the port list.
    std::array<std::string, 4> m_devicePaths;

    int exec() override;

    // The controls, by name for tests.
    QComboBox* BaudList() const { return m_baudList; }
    QComboBox* PortList() const { return m_portList; }
    QComboBox* ParityList() const { return m_parityList; }
    QLabel* DeviceLabel() const { return m_deviceLabel; }

protected:
    void accept() override;

private:
    void ShowDevice(int index);

    QComboBox* m_baudList;
    QComboBox* m_portList;
    QComboBox* m_parityList;
    QLineEdit* m_dataBitsEdit;
    QLineEdit* m_stopBitsEdit;
    QLabel* m_deviceLabel;
};

// "检测EEPROM:": the address range of an EEPROM read, two hexadecimal texts.
class CEepromRangeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CEepromRangeDlg(QWidget* parent = nullptr);

    QString m_start;
    QString m_end;

    int exec() override;

    QLineEdit* StartEdit() const { return m_startEdit; }
    QLineEdit* EndEdit() const { return m_endEdit; }

protected:
    void accept() override;

private:
    QLineEdit* m_startEdit;
    QLineEdit* m_endEdit;
};

} // namespace mrv
