#pragma once
// "Meter--Add": a numbered batch of 1 to 100 new meters for one Block. The user sets the first
// Meter ID, the ID2 prefix and number and the count, and steps with "<<" and ">>" through the
// meters to type each one's User Addr; the previews show the current meter's Meter ID and ID2.
#include "doc/MeterBatch.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace mrv {

class CFilterEdit;
class Prompter;

class CMeterAddDlg : public QDialog {
    Q_OBJECT
public:
    CMeterAddDlg(const MeterBatch& preset, std::int32_t blockId, Prompter& prompter,
                 QWidget* parent = nullptr);

    // After OK: the batch and the User Addr of each of its meters.
    const MeterBatch& Batch() const { return m_batch; }
    std::vector<std::string> Addresses() const;
    // The meter the previews show (0 is the first).
    int CurrentIndex() const { return m_index; }
    // Asked on OK with the batch, after the fields' own checks: false keeps the dialog open
    // (it has told the user why).
    void SetAcceptCheck(std::function<bool(const MeterBatch&)> check)
    {
        m_check = std::move(check);
    }

protected:
    void accept() override;

private:
    // Stores the shown User Addr, moves by `step` (0: back to the first meter) within the
    // count, and shows that meter: its User Addr, Meter ID and ID2, and which way it can go.
    void Refresh(int step);
    void OnCountChanged();
    void ReadBack();

    Prompter& m_prompter;
    MeterBatch m_batch;
    std::function<bool(const MeterBatch&)> m_check;
    std::vector<QString> m_addresses;
    int m_index = 0;
    bool m_refreshing = false;
    CFilterEdit* m_idFrom;
    QLineEdit* m_prefix;
    CFilterEdit* m_number;
    CFilterEdit* m_count;
    QLineEdit* m_meterId;
    QLineEdit* m_meterId2;
    QLineEdit* m_userAddr;
    QLabel* m_id2Note;
    QPushButton* m_previous;
    QPushButton* m_next;
};

} // namespace mrv
