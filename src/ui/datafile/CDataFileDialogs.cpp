#include "ui/datafile/CDataFileDialogs.h"

#include "datafile/DataFileTexts.h"
#include "datafile/HhuDataFile.h"
#include "doc/CMrvDoc.h"
#include "ui/app/ShownText.h"

#include <QCoreApplication>
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

QLineEdit* Field(QWidget* parent, const char* name, const QString& label, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

QPlainTextEdit* TextField(QWidget* parent, const char* name, const QString& label,
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

// The field's accessible name is its label's text.
void AddRow(QFormLayout* form, QWidget* field)
{
    auto* l = new QLabel(field->accessibleName(), field->parentWidget());
    l->setBuddy(field);
    form->addRow(l, field);
}

// The few words the file's parameters are described with, as the user reads them; any other
// text (numbers, dates) is shown as it is.
QString ShownValue(const std::string& text)
{
    struct Word {
        const char* source;
        const char* comment;
    };
    static const Word kWords[] = {
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "Three Tariff", "period number"),
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "Two Tariff", "period number"),
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "Yes ", "time verify"),
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "No", "time verify"),
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "Energy ", "kind of energy kept"),
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "LM Energy", "kind of energy kept"),
        QT_TRANSLATE_NOOP3("mrv::CViewDataFileDlg", "Energy LM Energy", "kind of energy kept"),
    };
    for (const Word& w : kWords)
        if (text == w.source)
            return QCoreApplication::translate("mrv::CViewDataFileDlg", w.source, w.comment);
    return ShownText(text);
}

QDialogButtonBox* OkBox(QDialog* dlg)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, dlg);
    QObject::connect(box, &QDialogButtonBox::accepted, dlg, &QDialog::accept);
    return box;
}

} // namespace

CViewDataFileDlg::CViewDataFileDlg(CMrvDoc& doc, int blockIndex, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("View Data File"));
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
    AddRow(form, Field(this, "periodNum", tr("Period Num"), ShownValue(t.periodNum)));
    AddRow(form, Field(this, "constant", tr("Constant"), ShownText(t.constant)));
    AddRow(form, Field(this, "resetDate", tr("Reset Date"), ShownText(t.resetDate)));
    AddRow(form, Field(this, "timeVerify", tr("Time Verify"), ShownValue(t.timeVerify)));
    AddRow(form, Field(this, "energy", tr("Energy"), ShownValue(t.energy)));
    AddRow(form, Field(this, "baseEnergy", tr("Base Energy"), ShownText(t.baseEnergy)));
    auto* dayTable = TextField(this, "dayTable", tr("Day Table"), t.dayTable);
    dayTable->setMinimumHeight(dayTable->fontMetrics().lineSpacing() * 10);
    AddRow(form, dayTable);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(OkBox(this));
}

CDataInfoDlg::CDataInfoDlg(CMrvDoc& doc, int recordNumber, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Data Exchange Information"));
    setObjectName("DataInfoDlg");
    const std::optional<RecordTexts> found = MakeRecordTexts(doc.GetDataFile(), recordNumber);
    const RecordTexts t = found.value_or(RecordTexts{});
    auto* form = new QFormLayout;
    AddRow(form, Field(this, "meterId", tr("Meter ID"), ShownText(t.meterId)));
    AddRow(form, Field(this, "meterId2", tr("Meter ID2"), ShownText(t.meterId2)));
    AddRow(form, Field(this, "userAddr", tr("User Addr"), ShownText(t.userAddr)));
    // The record as the file holds it, in the file's own words.
    auto* log = TextField(this, "log", tr("Meter record"), t.log);
    log->setMinimumSize(log->fontMetrics().horizontalAdvance(QString(46, 'x')),
                        log->fontMetrics().lineSpacing() * 20);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addWidget(log, 1);
    top->addWidget(OkBox(this));
}

} // namespace mrv
