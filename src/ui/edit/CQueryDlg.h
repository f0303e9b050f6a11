#pragma once
// "Query": looks a meter up by the field the user filled last, its Meter ID or its ID2, and
// shows where it is: its User Addr, its Block and the HHU that serves the Block. A note says
// what was looked for and, when several meters match, which of them is shown; "<<" and ">>"
// step through them. The dialog stays open for the next lookup; its default button "Query"
// runs one, "Cancel" closes it.
#include "base/Records.h"
#include "doc/EditForm.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace mrv {

class CFilterEdit;
class CMrvDoc;

class CQueryDlg : public QDialog {
    Q_OBJECT
public:
    explicit CQueryDlg(CMrvDoc& doc, QWidget* parent = nullptr);

    // One press of "Query".
    void OnQuery();

private:
    void ClearResult();
    // Shows match `index` of the last lookup.
    void ShowMatch(int index);
    // A field typed into: what the last lookup found no longer stands for it.
    void OnEdited(int field);

    CMrvDoc& m_doc;
    CFilterEdit* m_meterId;
    QLineEdit* m_meterId2;
    QLineEdit* m_userAddr;
    QLineEdit* m_blockId;
    QLineEdit* m_blockName;
    QLineEdit* m_hhuId;
    QLineEdit* m_hhuDesp;
    QLabel* m_note;
    QPushButton* m_query;
    QPushButton* m_previous;
    QPushButton* m_next;
    int m_lastFilled = 1;
    MeterLookup m_lookup;
    MeterList m_matches;
    int m_index = 0;
};

} // namespace mrv
