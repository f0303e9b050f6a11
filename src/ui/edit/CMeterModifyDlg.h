#pragma once
// "Meter--Modify": the Meter ID, ID2, User Addr and Block of one meter. A new Meter ID
// renumbers the meter; another Block id moves it there.
#include "base/Records.h"

#include <QDialog>

#include <functional>

class QLineEdit;

namespace mrv {

class CFilterEdit;
class Prompter;

class CMeterModifyDlg : public QDialog {
    Q_OBJECT
public:
    // `blocks`: the Blocks a meter may be moved to.
    CMeterModifyDlg(const MeterRecord& meter, const BlockList& blocks, Prompter& prompter,
                    QWidget* parent = nullptr);

    // After OK: the meter as entered.
    const MeterRecord& Meter() const { return m_meter; }
    // Asked on OK with the meter as entered, after the fields' own checks: false keeps the
    // dialog open (it has told the user why).
    void SetAcceptCheck(std::function<bool(const MeterRecord&)> check)
    {
        m_check = std::move(check);
    }

protected:
    void accept() override;

private:
    const BlockList& m_blocks;
    Prompter& m_prompter;
    MeterRecord m_meter;
    std::function<bool(const MeterRecord&)> m_check;
    CFilterEdit* m_meterId;
    QLineEdit* m_meterId2;
    QLineEdit* m_userAddr;
    QLineEdit* m_blockId;
};

} // namespace mrv
