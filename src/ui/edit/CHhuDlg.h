#pragma once
// "HHU--Add" and "HHU--Modify": the id of a hand-held unit (1 to 9999, fixed when modifying)
// and its description.
#include <QDialog>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

    // Ids of the records there: OK when adding refuses them with a message.
    void SetIdsInUse(std::vector<std::int32_t> ids) { m_idsInUse = std::move(ids); }

protected:
    void accept() override;

private:
    Purpose m_purpose;
    Prompter& m_prompter;
    std::int32_t m_id;
    std::vector<std::int32_t> m_idsInUse;
    CFilterEdit* m_idEdit;
    QLineEdit* m_description;
};

} // namespace mrv
