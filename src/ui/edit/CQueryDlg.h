#pragma once
// "Query": looks a meter up by its Meter ID, or else by its ID2, and shows where it is: its
// User Addr, its Block and the HHU that serves the Block. The dialog stays open for the next
// lookup; its default button "Query" runs one, "Cancel" closes it.
#include <QDialog>

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

    CMrvDoc& m_doc;
    CFilterEdit* m_meterId;
    QLineEdit* m_meterId2;
    QLineEdit* m_userAddr;
    QLineEdit* m_blockId;
    QLineEdit* m_blockName;
    QLineEdit* m_hhuId;
    QLineEdit* m_hhuDesp;
    QPushButton* m_query;
};

} // namespace mrv
