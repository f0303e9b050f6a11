#include "ui/datafile/CDataFileSheet.h"

#include "base/Prompter.h"
#include "doc/CMrvDoc.h"
#include "doc/ParameterRules.h"
#include "link/Codecs.h"
#include "ui/view/CFilterEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
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

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString Two(int v)
{
    return QString::asprintf("%02i", v);
}

IntField MakeInt(QWidget* parent, long long value, bool isUnsigned, int width = 70)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setFixedWidth(width);
    return {edit, isUnsigned};
}

// A labelled row: label, field, optional unit.
void AddRow(QGridLayout* grid, int row, int col, const QString& label, QWidget* field,
            const QString& unit = {})
{
    auto* parent = field->parentWidget();
    grid->addWidget(new QLabel(label, parent), row, col);
    grid->addWidget(field, row, col + 1);
    if (!unit.isEmpty())
        grid->addWidget(new QLabel(unit, parent), row, col + 2);
}

} // namespace

bool CSheetPage::ReadInt(const IntField& field, Prompter& prompter, long long& out)
{
    bool ok = false;
    const QString text = field.edit->text().trimmed();
    out = text.toLongLong(&ok, 10);
    if (ok && field.isUnsigned && out < 0)
        ok = false;
    if (!ok) {
        prompter.Message(field.isUnsigned ? "Please enter a positive integer."
                                          : "Please enter an integer.",
                         "", MsgIcon::Warning);
        field.edit->setFocus();
        field.edit->selectAll();
    }
    return ok;
}

CParaPage::CParaPage(const SheetValues& v, QWidget* parent) : CSheetPage(parent)
{
    setObjectName("Parameter");
    const MeterValues& mv = v.values;
    const DataFileParameters& p = v.params;

    m_password = new CFilterEdit(this);
    m_password->SetHexMode(1);
    m_password->setMaxLength(6);
    m_password->setText(QString::fromStdString(BytesToHexText(mv.password)));
    m_password->setFixedWidth(90);
    m_id = new CFilterEdit(this);
    m_id->SetHexMode(1);
    m_id->setMaxLength(12);
    m_id->setText(QString::fromStdString(BytesToHexText(mv.meterId)));
    m_id->setFixedWidth(130);

    m_resetDay = new CTwoDigitEdit(this);
    m_resetDay->SetKind(CTwoDigitEdit::Day);
    m_resetDay->setObjectName("resetDay");
    m_resetDay->SetInitialText(Two(ResetDateDay(p)));
    m_resetHour = new CTwoDigitEdit(this);
    m_resetHour->SetKind(CTwoDigitEdit::Hour);
    m_resetHour->setObjectName("resetHour");
    m_resetHour->SetInitialText(Two(ResetDateHour(p)));
    for (auto* e : {m_resetDay, m_resetHour}) {
        e->setMaxLength(2);
        e->setFixedWidth(34);
    }

    auto decimal2 = [this](int value) {
        auto* e = new CFilterEdit(this);
        e->SetHexMode(0);
        e->SetTypingLimit(2);
        e->setText(QString::number(value));
        e->setFixedWidth(40);
        return IntField{e, true};
    };
    m_prescaler = decimal2(p.prescaler);
    m_prescaler.edit->setObjectName("prescaler");
    m_pulseWidth = decimal2(p.pulseWidth);
    m_protection = MakeInt(this, p.protectionFlag, false, 40);
    m_carrier = MakeInt(this, mv.carrierAddress, true);
    m_interval = MakeInt(this, v.sendDelay, false);
    m_interval.edit->setObjectName("interval");
    m_constant = MakeInt(this, mv.meterConstant, true);
    m_trim = MakeInt(this, mv.trimValue, false);
    m_trim.edit->setObjectName("trim");
    m_vNormal = MakeInt(this, mv.vNormal, true);
    m_vHigh = MakeInt(this, mv.vHigh, true);
    m_vLow = MakeInt(this, mv.vLow, true);
    m_iNormal = MakeInt(this, mv.iNormal, true);
    m_iHigh = MakeInt(this, mv.iHigh, true);
    m_iLow = MakeInt(this, mv.iLow, true);
    m_owingCurrent = MakeInt(this, mv.owingCurrent, true);
    m_owingTime = MakeInt(this, mv.owingTime, true);
    m_noLoadCurrent = MakeInt(this, mv.noLoadCurrent, true);
    m_noLoadTime = MakeInt(this, mv.noLoadTime, true);
    m_owingPower = MakeInt(this, mv.owingPower, true);
    m_owingTimeToWrite = MakeInt(this, mv.owingTimeToWrite, true);

    // Left column: meter identity and pulse settings.
    auto* left = new QGridLayout;
    AddRow(left, 0, 0, "Password", m_password);
    AddRow(left, 1, 0, "ID", m_id);
    auto* reset = new QHBoxLayout;
    reset->addWidget(m_resetDay);
    reset->addWidget(new QLabel("dd", this));
    reset->addWidget(m_resetHour);
    reset->addWidget(new QLabel("hh", this));
    reset->addStretch();
    left->addWidget(new QLabel("Reset Date", this), 2, 0);
    left->addLayout(reset, 2, 1, 1, 2);
    AddRow(left, 3, 0, "Prescaler", m_prescaler.edit);
    AddRow(left, 4, 0, "Pulse Width", m_pulseWidth.edit, "x20ms");
    AddRow(left, 5, 0, "Protection flag", m_protection.edit);
    AddRow(left, 6, 0, "Carrier Module Address", m_carrier.edit);
    AddRow(left, 7, 0, "Package Interval", m_interval.edit, "ms");
    AddRow(left, 8, 0, "Constant", m_constant.edit);
    AddRow(left, 9, 0, "Trim", m_trim.edit);
    left->setRowStretch(10, 1);
    left->setColumnStretch(3, 1); // units stay beside their fields

    // Right column: limits, owing settings, relay and meter type.
    auto* limits = new QGridLayout;
    AddRow(limits, 0, 0, "V normal", m_vNormal.edit);
    AddRow(limits, 1, 0, "V high", m_vHigh.edit);
    AddRow(limits, 2, 0, "V low", m_vLow.edit);
    AddRow(limits, 0, 2, "I normal", m_iNormal.edit);
    AddRow(limits, 1, 2, "I high", m_iHigh.edit);
    AddRow(limits, 2, 2, "I low", m_iLow.edit);

    auto* owingBox = new QGroupBox(U("欠费电流及欠费时间设置"), this);
    auto* owing = new QGridLayout(owingBox);
    owing->addWidget(new QLabel("Current", owingBox), 0, 0);
    owing->addWidget(m_owingCurrent.edit, 0, 1);
    owing->addWidget(new QLabel("x0.1A", owingBox), 0, 2);
    owing->addWidget(new QLabel("Time", owingBox), 1, 0);
    owing->addWidget(m_owingTime.edit, 1, 1);
    owing->addWidget(new QLabel("min", owingBox), 1, 2);

    auto* noLoadBox = new QGroupBox("No-load ", this);
    auto* noLoad = new QGridLayout(noLoadBox);
    noLoad->addWidget(new QLabel("Current", noLoadBox), 0, 0);
    noLoad->addWidget(m_noLoadCurrent.edit, 0, 1);
    noLoad->addWidget(new QLabel("x0.01A", noLoadBox), 0, 2);
    noLoad->addWidget(new QLabel("Time", noLoadBox), 1, 0);
    noLoad->addWidget(m_noLoadTime.edit, 1, 1);
    noLoad->addWidget(new QLabel("s", noLoadBox), 1, 2);
    for (auto* f : {m_owingCurrent.edit, m_owingTime.edit, m_noLoadCurrent.edit, m_noLoadTime.edit})
        f->setFixedWidth(60);

    auto* owingRow = new QHBoxLayout;
    owingRow->addWidget(owingBox);
    owingRow->addWidget(noLoadBox);

    auto* more = new QGridLayout;
    AddRow(more, 0, 0, U("欠费功率"), m_owingPower.edit);
    AddRow(more, 0, 2, U("写欠费时间"), m_owingTimeToWrite.edit);

    auto* relayBox = new QGroupBox(U("继电器状态"), this);
    m_relayClose = new QRadioButton(U("合闸"), relayBox);
    m_relayClose->setObjectName("relayClose");
    m_relayTrip = new QRadioButton(U("跳闸"), relayBox);
    m_relayTrip->setObjectName("relayTrip");
    auto* relayLayout = new QHBoxLayout(relayBox);
    relayLayout->addWidget(m_relayClose);
    relayLayout->addWidget(m_relayTrip);
    (IsSecondChoice(mv.relayStatus) ? m_relayTrip : m_relayClose)->setChecked(true);

    auto* controlBox = new QGroupBox(U("控制欠费"), this);
    m_owingClear = new QRadioButton(U("清除"), controlBox);
    m_owingOwing = new QRadioButton(U("欠费"), controlBox);
    auto* controlLayout = new QHBoxLayout(controlBox);
    controlLayout->addWidget(m_owingClear);
    controlLayout->addWidget(m_owingOwing);
    (IsSecondChoice(mv.controlOwing) ? m_owingOwing : m_owingClear)->setChecked(true);

    auto* radioRow = new QHBoxLayout;
    radioRow->addWidget(relayBox);
    radioRow->addWidget(controlBox);

    auto* typeBox = new QGroupBox("Meter Type", this);
    auto* typeLayout = new QHBoxLayout(typeBox);
    const char* const typeNames[4] = {"多费率", "继电器", "预付费", "负荷控制"};
    for (std::size_t i = 0; i < 4; ++i) {
        m_meterType[i] = new QCheckBox(U(typeNames[i]), typeBox);
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

bool CParaPage::Store(SheetValues& v, Prompter& prompter)
{
    // Read every integer first so a refused field changes nothing.
    std::array<long long, 20> n{};
    const IntField* fields[] = {
        &m_prescaler,     &m_pulseWidth, &m_protection, &m_carrier,         &m_interval,
        &m_constant,      &m_trim,       &m_vNormal,    &m_vHigh,           &m_vLow,
        &m_iNormal,       &m_iHigh,      &m_iLow,       &m_owingCurrent,    &m_owingTime,
        &m_noLoadCurrent, &m_noLoadTime, &m_owingPower, &m_owingTimeToWrite};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        if (!ReadInt(*fields[i], prompter, n[i]))
            return false;

    MeterValues& mv = v.values;
    DataFileParameters& p = v.params;
    HexTextToBytes(m_password->text().toStdString(), mv.password);
    HexTextToBytes(m_id->text().toStdString(), mv.meterId);
    const int day = CTwoDigitEdit::TwoChars(m_resetDay->text()).toInt();
    const int hour = CTwoDigitEdit::TwoChars(m_resetHour->text()).toInt();
    p.resetDay = ResetDayFrom(day, hour);
    p.resetHour = hour;
    p.prescaler = std::uint8_t(n[0]);
    p.pulseWidth = std::uint8_t(n[1]);
    p.protectionFlag = std::uint8_t(n[2]);
    mv.carrierAddress = std::uint16_t(n[3]);
    v.sendDelay = std::uint32_t(n[4]);
    mv.meterConstant = std::uint16_t(n[5]);
    mv.trimValue = std::int32_t(n[6]);
    mv.vNormal = std::uint16_t(n[7]);
    mv.vHigh = std::uint16_t(n[8]);
    mv.vLow = std::uint16_t(n[9]);
    mv.iNormal = std::uint16_t(n[10]);
    mv.iHigh = std::uint16_t(n[11]);
    mv.iLow = std::uint16_t(n[12]);
    mv.owingCurrent = std::uint16_t(n[13]);
    mv.owingTime = std::uint16_t(n[14]);
    mv.noLoadCurrent = std::uint16_t(n[15]);
    mv.noLoadTime = std::uint16_t(n[16]);
    mv.owingPower = std::uint16_t(n[17]);
    mv.owingTimeToWrite = std::uint16_t(n[18]);
    mv.relayStatus = m_relayTrip->isChecked() ? 0x55 : 0;
    mv.controlOwing = m_owingOwing->isChecked() ? 0x55 : 0;
    mv.meterType = 0;
    for (std::size_t i = 0; i < 4; ++i)
        if (m_meterType[i]->isChecked())
            mv.meterType |= std::uint8_t(1u << i);
    return true;
}

CTarifPage::CTarifPage(const SheetValues& v, QWidget* parent) : CSheetPage(parent)
{
    setObjectName("DayTable");
    const DataFileParameters& p = v.params;
    m_periodCount = new QLineEdit(QString::number(p.periodCount), this);
    m_periodCount->setObjectName("periodCount");
    m_periodCount->setFixedWidth(40);

    auto* dayBox = new QGroupBox("Day Table", this);
    auto* dayGrid = new QGridLayout(dayBox);
    auto* yearBox = new QGroupBox("Year Table", this);
    auto* yearGrid = new QGridLayout(yearBox);
    for (std::size_t i = 0; i < 8; ++i) {
        const int row = int(i);
        const QString from = QString("%1. From").arg(row + 1);
        const TableEntry& d = p.dayTable[i];
        DayRow& dr = m_day[i];
        dr.hour = new CTwoDigitEdit(dayBox);
        dr.hour->SetKind(CTwoDigitEdit::TableHour);
        dr.minute = new CTwoDigitEdit(dayBox);
        dr.minute->SetKind(CTwoDigitEdit::Minute);
        dr.hour->SetPartner(dr.minute);
        dr.hour->SetInitialText(Two(d[2]));
        dr.minute->SetInitialText(Two(d[1]));
        dr.hour->setObjectName(QString("dayHour%1").arg(row + 1));
        dr.minute->setObjectName(QString("dayMinute%1").arg(row + 1));
        dr.tariff = new QComboBox(dayBox);
        dr.tariff->setObjectName(QString("dayTariff%1").arg(row + 1));
        dr.tariff->addItems({"T1", "T2", "T3", "T4"});
        dr.tariff->setCurrentIndex(d[0] >= 1 && d[0] <= 4 ? d[0] - 1 : -1);
        dayGrid->addWidget(new QLabel(from, dayBox), row, 0);
        dayGrid->addWidget(dr.hour, row, 1);
        dayGrid->addWidget(new QLabel(":", dayBox), row, 2);
        dayGrid->addWidget(dr.minute, row, 3);
        dayGrid->addWidget(dr.tariff, row, 4);

        const TableEntry& y = p.yearTable[i];
        YearRow& yr = m_year[i];
        yr.first = new CFilterEdit(yearBox);
        static_cast<CFilterEdit*>(yr.first)->SetHexMode(0);
        yr.first->setText(Two(y[2]));
        yr.second = new CTwoDigitEdit(yearBox);
        yr.second->SetKind(CTwoDigitEdit::Minute);
        yr.second->SetInitialText(Two(y[1]));
        yr.first->setObjectName(QString("yearFirst%1").arg(row + 1));
        yr.second->setObjectName(QString("yearSecond%1").arg(row + 1));
        yr.table = new QComboBox(yearBox);
        yr.table->setObjectName(QString("yearTable%1").arg(row + 1));
        yr.table->addItems({"T1", "T2"});
        yr.table->setCurrentIndex(y[0] >= 1 && y[0] <= 2 ? y[0] - 1 : -1);
        yearGrid->addWidget(new QLabel(from, yearBox), row, 0);
        yearGrid->addWidget(yr.first, row, 1);
        yearGrid->addWidget(new QLabel("/", yearBox), row, 2);
        yearGrid->addWidget(yr.second, row, 3);
        yearGrid->addWidget(yr.table, row, 4);
        for (QLineEdit* e : {static_cast<QLineEdit*>(dr.hour), static_cast<QLineEdit*>(dr.minute),
                             yr.first, static_cast<QLineEdit*>(yr.second)}) {
            e->setFixedWidth(34);
            e->setMaxLength(2);
        }
        yr.first->setMaxLength(3);
    }

    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel("Period Number", this));
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

bool CTarifPage::Store(SheetValues& v, Prompter& prompter)
{
    long long count = 0;
    if (!ReadInt({m_periodCount, false}, prompter, count))
        return false;
    if (count < 1 || count > 8) {
        prompter.Message("Please enter an integer between 1 and 8.", "", MsgIcon::Warning);
        m_periodCount->setFocus();
        return false;
    }
    std::array<long long, 8> first{};
    for (std::size_t i = 0; i < 8; ++i)
        if (!ReadInt({m_year[i].first, false}, prompter, first[i]))
            return false;

    DataFileParameters& p = v.params;
    p.periodCount = int(count);
    for (std::size_t i = 0; i < 8; ++i) {
        TableEntry& d = p.dayTable[i];
        d[2] = std::uint8_t(CTwoDigitEdit::TwoChars(m_day[i].hour->text()).toInt());
        d[1] = std::uint8_t(CTwoDigitEdit::TwoChars(m_day[i].minute->text()).toInt());
        if (m_day[i].tariff->currentIndex() >= 0)
            d[0] = std::uint8_t(m_day[i].tariff->currentIndex() + 1);
        TableEntry& y = p.yearTable[i];
        y[2] = std::uint8_t(first[i]);
        y[1] = std::uint8_t(CTwoDigitEdit::TwoChars(m_year[i].second->text()).toInt());
        if (m_year[i].table->currentIndex() >= 0)
            y[0] = std::uint8_t(m_year[i].table->currentIndex() + 1);
    }
    return true;
}

CShowPage::CShowPage(const SheetValues& v, QWidget* parent) : CSheetPage(parent)
{
    setObjectName("Show");
    const DataFileParameters& p = v.params;
    const MeterValues& mv = v.values;

    auto* mask1 = new QGroupBox("Show Mask1", this);
    auto* l1 = new QVBoxLayout(mask1);
    const char* const names1[6] = {"Meter Address",   "Carrier Module Address", "Current",
                                   "Phase A Current", "Phase B Current",        "Phase C Current"};
    for (std::size_t i = 0; i < 6; ++i) {
        m_mask1[i] = new QCheckBox(names1[i], mask1);
        m_mask1[i]->setChecked((p.show[0] >> i) & 1);
        l1->addWidget(m_mask1[i]);
    }
    l1->addStretch();
    auto* mask2 = new QGroupBox("Show Mask2", this);
    auto* l2 = new QVBoxLayout(mask2);
    const char* const names2[8] = {"Total Active Energy",
                                   "Tarrif 1 Energy",
                                   "Tarrif 2 Energy",
                                   "Tarrif 3 Energy",
                                   "Tarrif 4 Energy",
                                   "Time",
                                   "Date",
                                   "Total Reactive Energy"};
    for (std::size_t i = 0; i < 8; ++i) {
        m_mask2[i] = new QCheckBox(names2[i], mask2);
        m_mask2[i]->setChecked((p.show[1] >> i) & 1);
        l2->addWidget(m_mask2[i]);
    }
    l2->addStretch();

    m_cycleTime = new QSpinBox(this);
    m_cycleTime->setObjectName("cycleTime");
    m_cycleTime->setRange(2, 30);
    m_cycleTime->setValue(ClampCycleTime(p.show[2] & 0x1F));
    auto* cycle = new QHBoxLayout;
    cycle->addWidget(new QLabel("Cycle Time", this));
    cycle->addWidget(m_cycleTime);
    cycle->addWidget(new QLabel("Sec", this));
    cycle->addStretch();

    auto* priceBox = new QGroupBox(U("多费率价格表及实行时间"), this);
    auto* pg = new QGridLayout(priceBox);
    for (std::size_t i = 0; i < 4; ++i) {
        const int row = int(i);
        m_priceWhole[i] = MakeInt(priceBox, mv.prices[i].whole, false, 60);
        m_priceCents[i] = MakeInt(priceBox, mv.prices[i].hundredths, false, 40);
        pg->addWidget(new QLabel(QString("Tarrif%1 price").arg(row + 1), priceBox), row, 0);
        pg->addWidget(m_priceWhole[i].edit, row, 1);
        pg->addWidget(new QLabel(U("元"), priceBox), row, 2);
        pg->addWidget(m_priceCents[i].edit, row, 3);
        pg->addWidget(new QLabel(U("分"), priceBox), row, 4);
    }
    m_year = MakeInt(priceBox, mv.priceYear, false, 40);
    m_month = MakeInt(priceBox, mv.priceMonth, false, 40);
    m_day = MakeInt(priceBox, mv.priceDay, false, 40);
    m_hour = MakeInt(priceBox, mv.priceHour, false, 40);
    m_minute = MakeInt(priceBox, mv.priceMinute, false, 40);
    auto* when = new QHBoxLayout;
    const std::pair<const char*, IntField*> parts[] = {{"Year", &m_year},
                                                       {"Month", &m_month},
                                                       {"Day", &m_day},
                                                       {"Hour", &m_hour},
                                                       {"Minute", &m_minute}};
    for (const auto& [label, field] : parts) {
        when->addWidget(new QLabel(label, priceBox));
        when->addWidget(field->edit);
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

bool CShowPage::Store(SheetValues& v, Prompter& prompter)
{
    std::array<long long, 13> n{};
    const IntField* fields[] = {
        &m_priceWhole[0], &m_priceCents[0], &m_priceWhole[1], &m_priceCents[1], &m_priceWhole[2],
        &m_priceCents[2], &m_priceWhole[3], &m_priceCents[3], &m_year,          &m_month,
        &m_day,           &m_hour,          &m_minute};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        if (!ReadInt(*fields[i], prompter, n[i]))
            return false;

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

    MeterValues& mv = v.values;
    for (std::size_t i = 0; i < 4; ++i) {
        mv.prices[i].whole = std::int32_t(n[2 * i]);
        mv.prices[i].hundredths = std::int32_t(n[2 * i + 1]);
    }
    mv.priceYear = std::uint8_t(n[8]);
    mv.priceMonth = std::uint8_t(n[9]);
    mv.priceDay = std::uint8_t(n[10]);
    mv.priceHour = std::uint8_t(n[11]);
    mv.priceMinute = std::uint8_t(n[12]);
    return true;
}

CDataFileSheet::CDataFileSheet(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle("Data File Setting");
    m_values.params = doc.m_params;
    m_values.values = doc.m_values;
    m_values.sendDelay = doc.m_link.sendDelay;

    m_tabs = new QTabWidget(this);
    m_para = new CParaPage(m_values, m_tabs);
    m_tarif = new CTarifPage(m_values, m_tabs);
    m_show = new CShowPage(m_values, m_tabs);
    m_tabs->addTab(m_para, "Parameter");
    m_tabs->addTab(m_tarif, "Day Table");
    m_tabs->addTab(m_show, "Show");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addWidget(m_tabs);
    top->addWidget(buttons);
}

void CDataFileSheet::accept()
{
    SheetValues edited = m_values;
    Prompter& prompter = m_doc.GetPrompter();
    CSheetPage* pages[] = {m_para, m_tarif, m_show};
    for (int i = 0; i < 3; ++i) {
        if (!pages[i]->Store(edited, prompter)) {
            m_tabs->setCurrentIndex(i);
            return;
        }
    }
    m_doc.ApplyParameterSheet(edited.params, edited.values, edited.sendDelay);
    QDialog::accept();
}

} // namespace mrv
