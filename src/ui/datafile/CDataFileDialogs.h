#pragma once
// The two dialogs that show a loaded data file: "View Data File" (its parameters and the
// constant of one Block) and "Data Exchange Information" (everything one meter record holds).
// Both fill read-only fields once when they open and never change the file.
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace mrv {

class CMrvDoc;

class CViewDataFileDlg : public QDialog {
    Q_OBJECT
public:
    // `blockIndex` is the Block's index in the file's Block table.
    CViewDataFileDlg(CMrvDoc& doc, int blockIndex, QWidget* parent = nullptr);
};

class CDataInfoDlg : public QDialog {
    Q_OBJECT
public:
    // `recordNumber` counts the file's meter records from 1; empty when no file is loaded.
    CDataInfoDlg(CMrvDoc& doc, int recordNumber, QWidget* parent = nullptr);
};

} // namespace mrv
