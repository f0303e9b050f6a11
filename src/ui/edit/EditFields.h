#pragma once
// Pieces the HHU, Block and meter dialogs share: text fields limited to the GBK bytes a table
// reads back (so what is typed is stored and shown exactly), digit fields, labelled rows, and
// the refusal of a field on OK (a message through the Prompter, the focus on the field).
#include "doc/FormNumber.h"

#include <QString>
#include <QValidator>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QFormLayout;
class QLayout;
class QPushButton;
class QLineEdit;
class QWidget;

namespace mrv {

class CFilterEdit;
class Prompter;

// Keeps a text within `maxBytes` GBK bytes: what would go beyond is dropped where it was
// typed or pasted, so a full field takes no more and a long paste keeps what fits.
class GbkWidthValidator final : public QValidator {
    Q_OBJECT
public:
    GbkWidthValidator(std::size_t maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    std::size_t m_maxBytes;
};

// A text field of at most `maxBytes` GBK bytes showing `text`.
QLineEdit* MakeTextField(QWidget* parent, const char* name, const QString& label,
                         std::size_t maxBytes, const QString& text = {});
// A field that takes decimal (or hexadecimal) digits, at most `limit` of them typed.
CFilterEdit* MakeDigitField(QWidget* parent, const char* name, const QString& label, int limit,
                            bool hex, const QString& text = {});
// Makes `edit` read-only and look it: the window's colour behind its text, and Tab passes it
// by (the user cannot change it).
void ShowReadOnly(QLineEdit* edit);
// A read-only field.
QLineEdit* MakeShownField(QWidget* parent, const char* name, const QString& label,
                          const QString& text = {});
// A "<<" or ">>" button that steps through the meters of a dialog: never the default button,
// so Enter keeps its meaning.
QPushButton* MakeStepButton(QWidget* parent, const char* name, const QString& text,
                            const QString& accessibleName);
// A row of `form`: the label (the field's buddy) and the field.
void AddFormRow(QFormLayout* form, const QString& label, QWidget* field);

// "OK" (which calls the dialog's accept()) and "Cancel".
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
// `body` above `buttons`; the focus starts on `first` with its text selected.
void LayOutDialog(QDialog* dialog, QLayout* body, QDialogButtonBox* buttons, QLineEdit* first);

// Shows `message` and puts the focus on `field` with its text selected.
void RefuseField(Prompter& prompter, QLineEdit* field, const std::string& message);
// The number in `edit` when it lies within the field's range; otherwise the field is refused
// with the message that gives the range.
std::optional<long long> TakeNumber(Prompter& prompter, QLineEdit* edit,
                                    const FormNumberField& field);

// True after refusing `id` for a new record when `inUse` holds it: the dialog stays open with
// what was typed. The database's key stays the last guard (another user may take the id
// meanwhile).
bool RefuseIdInUse(Prompter& prompter, QLineEdit* edit, const FormNumberField& field,
                   std::int32_t id, const std::vector<std::int32_t>& inUse);

// "%04d": ids as the lists and the data files show them.
QString IdText(long long id);

} // namespace mrv
