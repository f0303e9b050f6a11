#pragma once
// The property sheet "Data File Setting": pages "Parameter", "Day Table" and "Show" edit
// copies of the document's data-file parameters, write values and send delay; OK writes them
// back and applies the document's rules, Cancel changes nothing.
#include "datafile/DataFileParameters.h"
#include "link/MeterValues.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace mrv {

class CFilterEdit;
class CMrvDoc;
class CTwoDigitEdit;
class Prompter;

// What the pages edit: copies taken when the sheet opens.
struct SheetValues {
    DataFileParameters params;
    MeterValues values;
    std::uint32_t sendDelay = 40;
};

// An integer text field; reading it may fail with the standard message.
struct IntField {
    QLineEdit* edit = nullptr;
    bool isUnsigned = false;
};

class CSheetPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Copies the controls back; false (after a message, with the focus on the field) when a
    // field holds something that is not accepted.
    virtual bool Store(SheetValues& v, Prompter& prompter) = 0;

protected:
    // Parses an integer field as the platform's integer conversion would.
    static bool ReadInt(const IntField& field, Prompter& prompter, long long& out);
};

class CParaPage : public CSheetPage {
    Q_OBJECT
public:
    CParaPage(const SheetValues& v, QWidget* parent = nullptr);
    bool Store(SheetValues& v, Prompter& prompter) override;

    CFilterEdit* m_password;
    CFilterEdit* m_id;
    CTwoDigitEdit* m_resetDay;
    CTwoDigitEdit* m_resetHour;
    IntField m_prescaler, m_pulseWidth, m_protection, m_carrier, m_interval, m_constant, m_trim;
    IntField m_vNormal, m_vHigh, m_vLow, m_iNormal, m_iHigh, m_iLow;
    IntField m_owingCurrent, m_owingTime, m_noLoadCurrent, m_noLoadTime, m_owingPower,
        m_owingTimeToWrite;
    QRadioButton* m_relayClose;
    QRadioButton* m_relayTrip;
    QRadioButton* m_owingClear;
    QRadioButton* m_owingOwing;
    std::array<QCheckBox*, 4> m_meterType{};
};

class CTarifPage : public CSheetPage {
    Q_OBJECT
public:
    CTarifPage(const SheetValues& v, QWidget* parent = nullptr);
    bool Store(SheetValues& v, Prompter& prompter) override;

    struct DayRow {
        CTwoDigitEdit* hour;
        CTwoDigitEdit* minute;
        QComboBox* tariff;
    };
    struct YearRow {
        QLineEdit* first;
        CTwoDigitEdit* second;
        QComboBox* table;
    };
    QLineEdit* m_periodCount;
    std::array<DayRow, 8> m_day{};
    std::array<YearRow, 8> m_year{};

private:
    void OnPeriodChanged();
};

class CShowPage : public CSheetPage {
    Q_OBJECT
public:
    CShowPage(const SheetValues& v, QWidget* parent = nullptr);
    bool Store(SheetValues& v, Prompter& prompter) override;

    std::array<QCheckBox*, 6> m_mask1{};
    std::array<QCheckBox*, 8> m_mask2{};
    QSpinBox* m_cycleTime;
    std::array<IntField, 4> m_priceWhole{};
    std::array<IntField, 4> m_priceCents{};
    IntField m_year, m_month, m_day, m_hour, m_minute;
};

class CDataFileSheet : public QDialog {
    Q_OBJECT
public:
    CDataFileSheet(CMrvDoc& doc, QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return m_tabs; }
    CParaPage* ParaPage() const { return m_para; }
    CTarifPage* TarifPage() const { return m_tarif; }
    CShowPage* ShowPage() const { return m_show; }

protected:
    void accept() override;

private:
    CMrvDoc& m_doc;
    SheetValues m_values;
    QTabWidget* m_tabs;
    CParaPage* m_para;
    CTarifPage* m_tarif;
    CShowPage* m_show;
};

} // namespace mrv
