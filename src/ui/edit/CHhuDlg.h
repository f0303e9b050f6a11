#pragma once
// "HHU--Add" and "HHU--Modify": the id of a hand-held unit (1 to 9999, fixed when modifying)
// and its description.
#include <QDialog>

#include <cstdint>
#include <string>

class QLineEdit;

namespace mrv {

class CFilterEdit;
class Prompter;

class CHhuDlg : public QDialog {
    Q_OBJECT
public:
    enum Purpose { Add, Modify };
    CHhuDlg(Purpose purpose, std::int32_t id, const std::string& description, Prompter& prompter,
            QWidget* parent = nullptr);

    // After OK: what was entered.
    std::int32_t Id() const { return m_id; }
    std::string Description() const;

protected:
    void accept() override;

private:
    Purpose m_purpose;
    Prompter& m_prompter;
    std::int32_t m_id;
    CFilterEdit* m_idEdit;
    QLineEdit* m_description;
};

} // namespace mrv
