#pragma once
// "Block--Add" and "Block--Modify": the id of a Block (1 to 9999, fixed when modifying), its
// name, the HHU that serves it (chosen from the document's HHUs) and its meter constant.
#include "base/Records.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;

namespace mrv {

class CFilterEdit;
class Prompter;

class CBlockDlg : public QDialog {
    Q_OBJECT
public:
    enum Purpose { Add, Modify };
    // `block` gives the preset id, name and HHU; `constantText` the constant as text.
    CBlockDlg(Purpose purpose, const BlockRecord& block, const std::string& constantText,
              const HhuList& hhus, Prompter& prompter, QWidget* parent = nullptr);

    // After OK: the Block as entered, its constant with the range rule applied.
    BlockRecord Block() const;

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
    QLineEdit* m_name;
    QComboBox* m_hhu;
    CFilterEdit* m_constant;
    QString m_presetConstant;
};

} // namespace mrv
