#include "ui/datafile/CDataFileSheet.h"

#include "base/Prompter.h"
#include "doc/CMrvDoc.h"
#include "doc/ParameterRules.h"
#include "link/Codecs.h"
#include "ui/view/CFilterEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mrv {

namespace {

// A field's name for screen readers: the label beside it and its unit, as the user reads them.
QString WithUnit(const QString& label, const QString& unit)
{
    return unit.isEmpty() ? label
                          : QCoreApplication::translate("mrv::CSheetPage", "%1 (%2)",
                                                        "a field's label, then its unit")
                                .arg(label, unit);
}

// A labelled row: label, field, optional unit. The field is named after them, after the title
// of the box it stands in (two boxes have a "Current").
void AddRow(QGridLayout* grid, int row, int col, const QString& label, QWidget* field,
            const QString& unit = {})
{
    auto* parent = field->parentWidget();
    QString name = WithUnit(label, unit);
    if (auto* box = qobject_cast<QGroupBox*>(parent))
        name = QCoreApplication::translate("mrv::CSheetPage", "%1 %2",
                                           "a box's title, then a field's label and unit")
                   .arg(box->title().trimmed(), name);
    field->setAccessibleName(name);
    auto* text = new QLabel(label, parent);
    text->setBuddy(field);
    grid->addWidget(text, row, col);
    grid->addWidget(field, row, col + 1);
    if (!unit.isEmpty())
        grid->addWidget(new QLabel(unit, parent), row, col + 2);
}

// A list of tariff or day-table numbers "T1".."T<offered>". A stored number the list does not
// offer gets an item of its own, so the list shows what a write would send.
void FillNumberList(QComboBox* list, int offered, int stored)
{
    for (int n = 1; n <= offered; ++n)
        list->addItem(QString("T%1").arg(n), n);
    if (stored < 1 || stored > offered)
        list->addItem(QString("T%1").arg(stored), stored);
    list->setCurrentIndex(list->findData(stored));
}

} // namespace

QLineEdit* CSheetPage::Bind(QLineEdit* edit, const char* name, const SheetValues& v, int width)
{
    const SheetField* field = FindSheetField(name);
    Q_ASSERT(field);
    edit->setObjectName(name);
    const QString text = QString::fromStdString(SheetFieldText(*field, v));
    if (auto* two = qobject_cast<CTwoDigitEdit*>(edit))
        two->SetInitialText(text);
    else
        edit->setText(text);
    if (width > 0)
        edit->setFixedWidth(width);
    return edit;
}

QLineEdit* CSheetPage::NumberEdit(const char* name, const SheetValues& v, int width)
{
    return Bind(new QLineEdit(this), name, v, width);
}

CParaPage::CParaPage(const SheetValues& v, QWidget* parent) : CSheetPage(parent)
{
    setObjectName("Parameter");
    const MeterValues& mv = v.values;

    m_password = new CFilterEdit(this);
    m_password->setObjectName("password");
    m_password->SetHexMode(1);
    m_password->setMaxLength(6);
    m_password->setText(QString::fromStdString(BytesToHexText(mv.password)));
    m_password->setFixedWidth(90);
    m_id = new CFilterEdit(this);
    m_id->setObjectName("id");
    m_id->SetHexMode(1);
    m_id->setMaxLength(12);
    m_id->setText(QString::fromStdString(BytesToHexText(mv.meterId)));
    m_id->setFixedWidth(130);

    auto* resetDay = new CTwoDigitEdit(this);
    resetDay->SetKind(CTwoDigitEdit::Day);
    auto* resetHour = new CTwoDigitEdit(this);
    resetHour->SetKind(CTwoDigitEdit::Hour);
    for (auto* e : {resetDay, resetHour}) {
        e->setMaxLength(2);
        Bind(e, e == resetDay ? "resetDay" : "resetHour", v, 34);
    }

    auto decimal2 = [&](const char* name) {
        auto* e = new CFilterEdit(this);
        e->SetHexMode(0);
        e->SetTypingLimit(2);
        return Bind(e, name, v, 40);
    };
    QLineEdit* prescaler = decimal2("prescaler");
    QLineEdit* pulseWidth = decimal2("pulseWidth");
    QLineEdit* protection = NumberEdit("protectionFlag", v, 40);
    QLineEdit* carrier = NumberEdit("carrierAddress", v);
    QLineEdit* interval = NumberEdit("interval", v);
    QLineEdit* constant = NumberEdit("constant", v);
    QLineEdit* trim = NumberEdit("trim", v);
    QLineEdit* vNormal = NumberEdit("vNormal", v);
    QLineEdit* vHigh = NumberEdit("vHigh", v);
    QLineEdit* vLow = NumberEdit("vLow", v);
    QLineEdit* iNormal = NumberEdit("iNormal", v);
    QLineEdit* iHigh = NumberEdit("iHigh", v);
    QLineEdit* iLow = NumberEdit("iLow", v);
    QLineEdit* owingCurrent = NumberEdit("owingCurrent", v, 60);
    QLineEdit* owingTime = NumberEdit("owingTime", v, 60);
    QLineEdit* noLoadCurrent = NumberEdit("noLoadCurrent", v, 60);
    QLineEdit* noLoadTime = NumberEdit("noLoadTime", v, 60);
    QLineEdit* owingPower = NumberEdit("owingPower", v);
    QLineEdit* owingTimeToWrite = NumberEdit("owingTimeToWrite", v);

    // Left column: meter identity and pulse settings.
    auto* left = new QGridLayout;
    AddRow(left, 0, 0, tr("Password"), m_password);
    AddRow(left, 1, 0, tr("ID", "meter ID"), m_id);
    auto* reset = new QHBoxLayout;
    auto* resetLabel = new QLabel(tr("Reset Date"), this);
    resetLabel->setBuddy(resetDay);
    const QString day = tr("dd", "day of the month");
    const QString hour = tr("hh", "hour");
    resetDay->setAccessibleName(WithUnit(resetLabel->text(), day));
    resetHour->setAccessibleName(WithUnit(resetLabel->text(), hour));
    reset->addWidget(resetDay);
    reset->addWidget(new QLabel(day, this));
    reset->addWidget(resetHour);
    reset->addWidget(new QLabel(hour, this));
    reset->addStretch();
    left->addWidget(resetLabel, 2, 0);
    left->addLayout(reset, 2, 1, 1, 2);
    AddRow(left, 3, 0, tr("Prescaler"), prescaler);
    AddRow(left, 4, 0, tr("Pulse Width"), pulseWidth, tr("x20ms"));
    AddRow(left, 5, 0, tr("Protection flag"), protection);
    AddRow(left, 6, 0, tr("Carrier Module Address"), carrier);
    AddRow(left, 7, 0, tr("Package Interval"), interval, tr("ms"));
    AddRow(left, 8, 0, tr("Constant"), constant);
    AddRow(left, 9, 0, tr("Trim"), trim);
    left->setRowStretch(10, 1);
    left->setColumnStretch(3, 1); // units stay beside their fields

    // Right column: limits, owing settings, relay and meter type.
    auto* limits = new QGridLayout;
    AddRow(limits, 0, 0, tr("V normal"), vNormal);
    AddRow(limits, 1, 0, tr("V high"), vHigh);
    AddRow(limits, 2, 0, tr("V low"), vLow);
    AddRow(limits, 0, 2, tr("I normal"), iNormal);
    AddRow(limits, 1, 2, tr("I high"), iHigh);
    AddRow(limits, 2, 2, tr("I low"), iLow);

    auto* owingBox = new QGroupBox(tr("欠费电流及欠费时间设置"), this);
    auto* owing = new QGridLayout(owingBox);
    owingCurrent->setParent(owingBox);
    owingTime->setParent(owingBox);
    AddRow(owing, 0, 0, tr("Current"), owingCurrent, tr("x0.1A"));
    AddRow(owing, 1, 0, tr("Time", "duration"), owingTime, tr("min", "minutes"));

    auto* noLoadBox = new QGroupBox(tr("No-load "), this);
    auto* noLoad = new QGridLayout(noLoadBox);
    noLoadCurrent->setParent(noLoadBox);
    noLoadTime->setParent(noLoadBox);
    AddRow(noLoad, 0, 0, tr("Current"), noLoadCurrent, tr("x0.01A"));
    AddRow(noLoad, 1, 0, tr("Time", "duration"), noLoadTime, tr("s", "seconds"));

    auto* owingRow = new QHBoxLayout;
    owingRow->addWidget(owingBox);
    owingRow->addWidget(noLoadBox);

    auto* more = new QGridLayout;
    AddRow(more, 0, 0, tr("欠费功率"), owingPower);
    AddRow(more, 0, 2, tr("写欠费时间"), owingTimeToWrite);

    auto* relayBox = new QGroupBox(tr("继电器状态"), this);
    m_relayClose = new QRadioButton(tr("合闸"), relayBox);
    m_relayClose->setObjectName("relayClose");
    m_relayTrip = new QRadioButton(tr("跳闸"), relayBox);
    m_relayTrip->setObjectName("relayTrip");
    auto* relayLayout = new QHBoxLayout(relayBox);
    relayLayout->addWidget(m_relayClose);
    relayLayout->addWidget(m_relayTrip);
    (IsSecondChoice(mv.relayStatus) ? m_relayTrip : m_relayClose)->setChecked(true);

    auto* controlBox = new QGroupBox(tr("控制欠费"), this);
    m_owingClear = new QRadioButton(tr("清除"), controlBox);
    m_owingOwing = new QRadioButton(tr("欠费"), controlBox);
    auto* controlLayout = new QHBoxLayout(controlBox);
    controlLayout->addWidget(m_owingClear);
    controlLayout->addWidget(m_owingOwing);
    (IsSecondChoice(mv.controlOwing) ? m_owingOwing : m_owingClear)->setChecked(true);

    auto* radioRow = new QHBoxLayout;
    radioRow->addWidget(relayBox);
    radioRow->addWidget(controlBox);

    auto* typeBox = new QGroupBox(tr("Meter Type"), this);
    auto* typeLayout = new QHBoxLayout(typeBox);
    static const char* const typeNames[4] = {QT_TR_NOOP("多费率"), QT_TR_NOOP("继电器"),
                                             QT_TR_NOOP("预付费"), QT_TR_NOOP("负荷控制")};
    for (std::size_t i = 0; i < 4; ++i) {
        m_meterType[i] = new QCheckBox(tr(typeNames[i]), typeBox);
        m_meterType[i]->setChecked((mv.meterType >> i) & 1);
        typeLayout->addWidget(m_meterType[i]);
    }

    auto* right = new QVBoxLayout;
    right->addLayout(limits);
    right->addLayout(owingRow);
    right->addLayout(more);
    right->addLayout(radioRow);
    right->addWidget(typeBox);
    right->addStretch();

    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addSpacing(12);
    top->addLayout(right, 1);
}

void CParaPage::Store(SheetValues& v)
{
    MeterValues& mv = v.values;
    HexTextToBytes(m_password->text().toStdString(), mv.password);
    HexTextToBytes(m_id->text().toStdString(), mv.meterId);
    mv.relayStatus = m_relayTrip->isChecked() ? 0x55 : 0;
    mv.controlOwing = m_owingOwing->isChecked() ? 0x55 : 0;
    mv.meterType = 0;
    for (std::size_t i = 0; i < 4; ++i)
        if (m_meterType[i]->isChecked())
            mv.meterType |= std::uint8_t(1u << i);
}

CTarifPage::CTarifPage(const SheetValues& v, QWidget* parent) : CSheetPage(parent)
{
    setObjectName("DayTable");
    const DataFileParameters& p = v.params;
    m_periodCount = NumberEdit("periodCount", v, 40);

    auto* dayBox = new QGroupBox(tr("Day Table"), this);
    auto* dayGrid = new QGridLayout(dayBox);
    auto* yearBox = new QGroupBox(tr("Year Table"), this);
    auto* yearGrid = new QGridLayout(yearBox);
    for (std::size_t i = 0; i < 8; ++i) {
        const int row = int(i);
        const QString n = QString::number(row + 1);
        const QString from = tr("%1. From", "row of a table: the day or date it starts").arg(n);
        auto name = [&](const char* prefix) { return (prefix + n).toStdString(); };

        DayRow& dr = m_day[i];
        dr.hour = new CTwoDigitEdit(dayBox);
        dr.hour->SetKind(CTwoDigitEdit::TableHour);
        dr.minute = new CTwoDigitEdit(dayBox);
        dr.minute->SetKind(CTwoDigitEdit::Minute);
        dr.hour->SetPartner(dr.minute);
        Bind(dr.hour, name("dayHour").c_str(), v, 34);
        Bind(dr.minute, name("dayMinute").c_str(), v, 34);
        dr.hour->setAccessibleName(tr("Day Table %1 (hour)").arg(from));
        dr.minute->setAccessibleName(tr("Day Table %1 (minute)").arg(from));
        dr.tariff = new QComboBox(dayBox);
        dr.tariff->setObjectName(QString::fromStdString(name("dayTariff")));
        dr.tariff->setAccessibleName(tr("Day Table %1 (tariff)").arg(from));
        FillNumberList(dr.tariff, 4, p.dayTable[i][0]);
        dayGrid->addWidget(new QLabel(from, dayBox), row, 0);
        dayGrid->addWidget(dr.hour, row, 1);
        dayGrid->addWidget(new QLabel(":", dayBox), row, 2);
        dayGrid->addWidget(dr.minute, row, 3);
        dayGrid->addWidget(dr.tariff, row, 4);

        YearRow& yr = m_year[i];
        auto* first = new CFilterEdit(yearBox);
        first->SetHexMode(0);
        yr.first = Bind(first, name("yearFirst").c_str(), v, 34);
        yr.second = new CTwoDigitEdit(yearBox);
        yr.second->SetKind(CTwoDigitEdit::Minute);
        Bind(yr.second, name("yearSecond").c_str(), v, 34);
        yr.first->setAccessibleName(tr("Year Table %1 (first number)").arg(from));
        yr.second->setAccessibleName(tr("Year Table %1 (second number)").arg(from));
        yr.table = new QComboBox(yearBox);
        yr.table->setObjectName(QString::fromStdString(name("yearTable")));
        yr.table->setAccessibleName(tr("Year Table %1 (day table)").arg(from));
        FillNumberList(yr.table, 2, p.yearTable[i][0]);
        yearGrid->addWidget(new QLabel(from, yearBox), row, 0);
        yearGrid->addWidget(yr.first, row, 1);
        yearGrid->addWidget(new QLabel("/", yearBox), row, 2);
        yearGrid->addWidget(yr.second, row, 3);
        yearGrid->addWidget(yr.table, row, 4);
        for (QLineEdit* e : {static_cast<QLineEdit*>(dr.hour), static_cast<QLineEdit*>(dr.minute),
                             static_cast<QLineEdit*>(yr.second)})
            e->setMaxLength(2);
        yr.first->setMaxLength(3);
    }

    auto* count = new QHBoxLayout;
    auto* countLabel = new QLabel(tr("Period Number"), this);
    countLabel->setBuddy(m_periodCount);
    m_periodCount->setAccessibleName(countLabel->text());
    count->addWidget(countLabel);
    count->addWidget(m_periodCount);
    count->addStretch();
    // Hour, ":" and minute stay together; the spare width goes after the lists.
    for (QGridLayout* grid : {dayGrid, yearGrid})
        grid->setColumnStretch(5, 1);
    auto* tables = new QHBoxLayout;
    tables->addWidget(dayBox);
    tables->addWidget(yearBox);
    auto* top = new QVBoxLayout(this);
    top->addLayout(count);
    top->addLayout(tables);
    top->addStretch();

    connect(m_periodCount, &QLineEdit::textChanged, this, &CTarifPage::OnPeriodChanged);
    OnPeriodChanged();
}

void CTarifPage::OnPeriodChanged()
{
    bool ok = false;
    int count = m_periodCount->text().trimmed().toInt(&ok);
    if (!ok)
        return; // still being typed; OK refuses it if it stays so
    if (count < 1 || count > 8) {
        count = std::clamp(count, 1, 8);
        m_periodCount->setText(QString::number(count));
        return; // the forced text comes back here
    }
    for (std::size_t i = 0; i < 8; ++i) {
        const bool used = int(i) < count;
        for (QWidget* w :
             {static_cast<QWidget*>(m_day[i].hour), static_cast<QWidget*>(m_day[i].minute),
              static_cast<QWidget*>(m_day[i].tariff), static_cast<QWidget*>(m_year[i].first),
              static_cast<QWidget*>(m_year[i].second), static_cast<QWidget*>(m_year[i].table)})
            w->setEnabled(used);
    }
}

void CTarifPage::Store(SheetValues& v)
{
    // The numbers came through the form; rows after the period count become copies on OK.
    for (std::size_t i = 0; i < 8; ++i) {
        v.params.dayTable[i][0] = std::uint8_t(m_day[i].tariff->currentData().toInt());
        v.params.yearTable[i][0] = std::uint8_t(m_year[i].table->currentData().toInt());
    }
}

CShowPage::CShowPage(const SheetValues& v, QWidget* parent) : CSheetPage(parent)
{
    setObjectName("Show");
    const DataFileParameters& p = v.params;

    auto* mask1 = new QGroupBox(tr("Show Mask1"), this);
    auto* l1 = new QVBoxLayout(mask1);
    static const char* const names1[6] = {
        QT_TR_NOOP("Meter Address"),   QT_TR_NOOP("Carrier Module Address"),
        QT_TR_NOOP("Current"),         QT_TR_NOOP("Phase A Current"),
        QT_TR_NOOP("Phase B Current"), QT_TR_NOOP("Phase C Current")};
    for (std::size_t i = 0; i < 6; ++i) {
        m_mask1[i] = new QCheckBox(tr(names1[i]), mask1);
        m_mask1[i]->setChecked((p.show[0] >> i) & 1);
        l1->addWidget(m_mask1[i]);
    }
    l1->addStretch();
    auto* mask2 = new QGroupBox(tr("Show Mask2"), this);
    auto* l2 = new QVBoxLayout(mask2);
    static const char* const names2[8] = {QT_TR_NOOP("Total Active Energy"),
                                          QT_TR_NOOP("Tarrif 1 Energy"),
                                          QT_TR_NOOP("Tarrif 2 Energy"),
                                          QT_TR_NOOP("Tarrif 3 Energy"),
                                          QT_TR_NOOP("Tarrif 4 Energy"),
                                          QT_TR_NOOP("Time"),
                                          QT_TR_NOOP("Date"),
                                          QT_TR_NOOP("Total Reactive Energy")};
    for (std::size_t i = 0; i < 8; ++i) {
        m_mask2[i] = new QCheckBox(tr(names2[i]), mask2);
        m_mask2[i]->setChecked((p.show[1] >> i) & 1);
        l2->addWidget(m_mask2[i]);
    }
    l2->addStretch();

    m_cycleTime = new QSpinBox(this);
    m_cycleTime->setObjectName("cycleTime");
    m_cycleTime->setRange(2, 30);
    m_cycleTime->setValue(ClampCycleTime(p.show[2] & 0x1F));
    auto* cycle = new QHBoxLayout;
    auto* cycleLabel = new QLabel(tr("Cycle Time"), this);
    cycleLabel->setBuddy(m_cycleTime);
    m_cycleTime->setAccessibleName(cycleLabel->text());
    cycle->addWidget(cycleLabel);
    cycle->addWidget(m_cycleTime);
    cycle->addWidget(new QLabel(tr("Sec"), this));
    cycle->addStretch();

    auto* priceBox = new QGroupBox(tr("多费率价格表及实行时间"), this);
    auto* pg = new QGridLayout(priceBox);
    for (std::size_t i = 0; i < 4; ++i) {
        const int row = int(i);
        const std::string n = std::to_string(row + 1);
        QLineEdit* whole = Bind(new QLineEdit(priceBox), ("priceWhole" + n).c_str(), v, 60);
        QLineEdit* cents = Bind(new QLineEdit(priceBox), ("priceCents" + n).c_str(), v, 40);
        auto* label = new QLabel(tr("Tarrif%1 price").arg(row + 1), priceBox);
        label->setBuddy(whole);
        const QString yuan = tr("元");
        const QString fen = tr("分");
        whole->setAccessibleName(WithUnit(label->text(), yuan));
        cents->setAccessibleName(WithUnit(label->text(), fen));
        pg->addWidget(label, row, 0);
        pg->addWidget(whole, row, 1);
        pg->addWidget(new QLabel(yuan, priceBox), row, 2);
        pg->addWidget(cents, row, 3);
        pg->addWidget(new QLabel(fen, priceBox), row, 4);
    }
    auto* when = new QHBoxLayout;
    static const std::pair<const char*, const char*> parts[] = {
        {QT_TR_NOOP("Year"), "priceYear"},
        {QT_TR_NOOP("Month"), "priceMonth"},
        {QT_TR_NOOP("Day"), "priceDay"},
        {QT_TR_NOOP("Hour"), "priceHour"},
        {QT_TR_NOOP("Minute"), "priceMinute"}};
    for (const auto& [label, name] : parts) {
        QLineEdit* edit = Bind(new QLineEdit(priceBox), name, v, 40);
        auto* text = new QLabel(tr(label), priceBox);
        text->setBuddy(edit);
        edit->setAccessibleName(text->text());
        when->addWidget(text);
        when->addWidget(edit);
    }
    when->addStretch();
    pg->addLayout(when, 4, 0, 1, 5);

    auto* masks = new QHBoxLayout;
    masks->addWidget(mask1);
    masks->addWidget(mask2);
    auto* right = new QVBoxLayout;
    right->addLayout(cycle);
    right->addWidget(priceBox);
    right->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(masks);
    top->addLayout(right, 1);
}

void CShowPage::Store(SheetValues& v)
{
    DataFileParameters& p = v.params;
    std::uint8_t b0 = 0, b1 = 0;
    for (std::size_t i = 0; i < 6; ++i)
        if (m_mask1[i]->isChecked())
            b0 |= std::uint8_t(1u << i);
    for (std::size_t i = 0; i < 8; ++i)
        if (m_mask2[i]->isChecked())
            b1 |= std::uint8_t(1u << i);
    p.show[0] = b0;
    p.show[1] = b1;
    p.show[2] = std::uint8_t(ClampCycleTime(m_cycleTime->value()));
    // Items the sheet does not offer keep their bits; "Date" is shown by both masks.
    const bool date = m_mask2[6]->isChecked();
    p.showExt[0] = std::uint8_t(p.showExt[0] & 0x81);
    p.showExt[1] = std::uint8_t((p.showExt[1] & 0x80) | (date ? 1 : 0));
}

CDataFileSheet::CDataFileSheet(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(tr("Data File Setting"));
    m_values.params = doc.m_params;
    m_values.values = doc.m_values;
    m_values.sendDelay = doc.m_link.sendDelay;

    m_tabs = new QTabWidget(this);
    m_para = new CParaPage(m_values, m_tabs);
    m_tarif = new CTarifPage(m_values, m_tabs);
    m_show = new CShowPage(m_values, m_tabs);
    m_tabs->addTab(m_para, tr("Parameter", "tab"));
    m_tabs->addTab(m_tarif, tr("Day Table", "tab"));
    m_tabs->addTab(m_show, tr("Show", "tab"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addWidget(m_tabs);
    top->addWidget(buttons);
}

std::map<std::string, std::string> CDataFileSheet::FieldTexts() const
{
    std::map<std::string, std::string> texts;
    for (const SheetField& field : SheetFields()) {
        const auto* edit = findChild<QLineEdit*>(QString::fromStdString(field.name));
        if (!edit)
            continue;
        // An emptied two-digit field stands for 00, as it does while typing.
        const auto* two = qobject_cast<const CTwoDigitEdit*>(edit);
        texts[field.name] =
            (two ? CTwoDigitEdit::TwoChars(edit->text()) : edit->text()).toStdString();
    }
    return texts;
}

void CDataFileSheet::accept()
{
    SheetValues edited = m_values;
    if (const auto refusal = StoreSheetFields(FieldTexts(), edited)) {
        m_doc.GetPrompter().Message(refusal->message, "", MsgIcon::Warning);
        m_tabs->setCurrentIndex(int(refusal->field->page));
        if (auto* edit = findChild<QLineEdit*>(QString::fromStdString(refusal->field->name))) {
            edit->setFocus();
            edit->selectAll();
        }
        return;
    }
    for (CSheetPage* page : {static_cast<CSheetPage*>(m_para), static_cast<CSheetPage*>(m_tarif),
                             static_cast<CSheetPage*>(m_show)})
        page->Store(edited);
    m_doc.ApplyParameterSheet(edited.params, edited.values, edited.sendDelay);
    QDialog::accept();
}

} // namespace mrv
