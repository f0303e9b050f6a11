#include "ui/edit/EditFields.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "doc/EditForm.h"
#include "ui/view/CFilterEdit.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace mrv {

GbkWidthValidator::GbkWidthValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes)
{
}

QValidator::State GbkWidthValidator::validate(QString& input, int& pos) const
{
    // The new characters end at the cursor: drop them from there backwards until the text
    // fits, never half of a surrogate pair.
    while (GbkWidth(input.toStdString()) > m_maxBytes) {
        if (pos <= 0)
            return Invalid;
        int cut = 1;
        if (pos >= 2 && input[pos - 1].isLowSurrogate() && input[pos - 2].isHighSurrogate())
            cut = 2;
        input.remove(pos - cut, cut);
        pos -= cut;
    }
    return Acceptable;
}

QLineEdit* MakeTextField(QWidget* parent, const char* name, const QString& label,
                         std::size_t maxBytes, const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->setValidator(new GbkWidthValidator(maxBytes, edit));
    return edit;
}

CFilterEdit* MakeDigitField(QWidget* parent, const char* name, const QString& label, int limit,
                            bool hex, const QString& text)
{
    auto* edit = new CFilterEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    edit->SetHexMode(hex ? 1 : 0);
    edit->SetTypingLimit(limit);
    edit->setText(text);
    return edit;
}

void ShowReadOnly(QLineEdit* edit)
{
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
    edit->setFocusPolicy(Qt::ClickFocus);
}

QLineEdit* MakeShownField(QWidget* parent, const char* name, const QString& label,
                          const QString& text)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setAccessibleName(label);
    ShowReadOnly(edit);
    return edit;
}

QPushButton* MakeStepButton(QWidget* parent, const char* name, const QString& text,
                            const QString& accessibleName)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(accessibleName);
    b->setAutoDefault(false);
    b->setFixedWidth(40);
    return b;
}

void AddFormRow(QFormLayout* form, const QString& label, QWidget* field)
{
    auto* text = new QLabel(label, field->parentWidget());
    text->setBuddy(field);
    form->addRow(text, field);
}

QDialogButtonBox* OkCancelButtons(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void LayOutDialog(QDialog* dialog, QLayout* body, QDialogButtonBox* buttons, QLineEdit* first)
{
    auto* top = new QVBoxLayout(dialog);
    top->addLayout(body);
    top->addWidget(buttons);
    first->setFocus();
    first->selectAll();
}

void RefuseField(Prompter& prompter, QLineEdit* field, const std::string& message)
{
    prompter.Message(message, "", MsgIcon::Warning, MsgButtons::Ok);
    field->setFocus();
    field->selectAll();
}

std::optional<long long> TakeNumber(Prompter& prompter, QLineEdit* edit,
                                    const FormNumberField& field)
{
    const std::optional<long long> value = ParseFormNumber(field, edit->text().toStdString());
    if (!value)
        RefuseField(prompter, edit, FormNumberMessage(field));
    return value;
}

bool RefuseIdInUse(Prompter& prompter, QLineEdit* edit, const FormNumberField& field,
                   std::int32_t id, const std::vector<std::int32_t>& inUse)
{
    if (std::find(inUse.begin(), inUse.end(), id) == inUse.end())
        return false;
    RefuseField(prompter, edit, IdInUseMessage(field, id));
    return true;
}

QString IdText(long long id)
{
    return QString::asprintf("%04lld", id);
}

} // namespace mrv
