#pragma once
// The property sheet "Data File Setting": pages "Parameter", "Day Table" and "Show" edit
// copies of the document's data-file parameters, write values and send delay; OK checks every
// number against its range (the form of doc/ParameterForm), writes them back and applies the
// document's rules; Cancel changes nothing.
#include "doc/ParameterForm.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <map>
#include <string>

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

class CSheetPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Copies the controls that are not numbers (those go through the sheet's form) back.
    virtual void Store(SheetValues& v) = 0;

protected:
    // Binds `edit` to the form's field `name`: its object name and text. The page names it
    // after the label the user reads beside it.
    QLineEdit* Bind(QLineEdit* edit, const char* name, const SheetValues& v, int width = 70);
    // A plain integer field of the form.
    QLineEdit* NumberEdit(const char* name, const SheetValues& v, int width = 70);
};

class CParaPage : public CSheetPage {
    Q_OBJECT
public:
    CParaPage(const SheetValues& v, QWidget* parent = nullptr);
    void Store(SheetValues& v) override;

private:
    CFilterEdit* m_password;
    CFilterEdit* m_id;
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
    void Store(SheetValues& v) override;

private:
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
    void OnPeriodChanged();

    QLineEdit* m_periodCount;
    std::array<DayRow, 8> m_day{};
    std::array<YearRow, 8> m_year{};
};

class CShowPage : public CSheetPage {
    Q_OBJECT
public:
    CShowPage(const SheetValues& v, QWidget* parent = nullptr);
    void Store(SheetValues& v) override;

private:
    std::array<QCheckBox*, 6> m_mask1{};
    std::array<QCheckBox*, 8> m_mask2{};
    QSpinBox* m_cycleTime;
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
    // The texts of the form's fields, by field name.
    std::map<std::string, std::string> FieldTexts() const;

    CMrvDoc& m_doc;
    SheetValues m_values;
    QTabWidget* m_tabs;
    CParaPage* m_para;
    CTarifPage* m_tarif;
    CShowPage* m_show;
};

} // namespace mrv
