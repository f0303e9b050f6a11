#include "ui/datafile/CDataFileDialogs.h"

#include "datafile/DataFileTexts.h"
#include "datafile/HhuDataFile.h"
#include "doc/CMrvDoc.h"
#include "ui/app/ShownText.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace mrv {

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const char* label, const std::string& text)
{
    auto* edit = new QLineEdit(ShownText(text), parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

QPlainTextEdit* TextField(QWidget* parent, const char* name, const char* label,
                          const std::string& text)
{
    auto* edit = new QPlainTextEdit(ShownText(text), parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->setReadOnly(true);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    return edit;
}

void AddRow(QFormLayout* form, const char* label, QWidget* field)
{
    auto* l = new QLabel(label, field->parentWidget());
    l->setBuddy(field);
    form->addRow(l, field);
}

QDialogButtonBox* OkBox(QDialog* dlg)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, dlg);
    QObject::connect(box, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
    return box;
}

} // namespace

CViewDataFileDlg::CViewDataFileDlg(CMrvDoc& doc, int blockIndex, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("View Data File");
    setObjectName("ViewDataFileDlg");
    const HhuDataFile& file = doc.GetDataFile();
    ParameterTexts t;
    if (file.IsLoaded()) {
        const std::vector<BlockEntry> blocks = file.GetBlockEntries();
        const bool hasBlock = blockIndex >= 0 && blockIndex < int(blocks.size());
        t = MakeParameterTexts(file.GetParameterBlock(),
                               hasBlock ? &blocks[std::size_t(blockIndex)] : nullptr);
    }
    auto* form = new QFormLayout;
    AddRow(form, "Period Num", Field(this, "periodNum", "Period Num", t.periodNum));
    AddRow(form, "Constant", Field(this, "constant", "Constant", t.constant));
    AddRow(form, "Reset Date", Field(this, "resetDate", "Reset Date", t.resetDate));
    AddRow(form, "Time Verify", Field(this, "timeVerify", "Time Verify", t.timeVerify));
    AddRow(form, "Energy", Field(this, "energy", "Energy", t.energy));
    AddRow(form, "Base Energy", Field(this, "baseEnergy", "Base Energy", t.baseEnergy));
    auto* dayTable = TextField(this, "dayTable", "Day Table", t.dayTable);
    dayTable->setMinimumHeight(dayTable->fontMetrics().lineSpacing() * 10);
    AddRow(form, "Day Table", dayTable);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(OkBox(this));
}

CDataInfoDlg::CDataInfoDlg(CMrvDoc& doc, int recordNumber, QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Data Exchange Information");
    setObjectName("DataInfoDlg");
    const std::optional<RecordTexts> found = MakeRecordTexts(doc.GetDataFile(), recordNumber);
    const RecordTexts t = found.value_or(RecordTexts{});
    auto* form = new QFormLayout;
    AddRow(form, "Meter ID", Field(this, "meterId", "Meter ID", t.meterId));
    AddRow(form, "Meter ID2", Field(this, "meterId2", "Meter ID2", t.meterId2));
    AddRow(form, "User Addr", Field(this, "userAddr", "User Addr", t.userAddr));
    auto* log = TextField(this, "log", "Meter record", t.log);
    log->setMinimumSize(log->fontMetrics().horizontalAdvance(QString(46, 'x')),
                        log->fontMetrics().lineSpacing() * 20);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(log, 1);
    top->addWidget(OkBox(this));
}

} // namespace mrv
