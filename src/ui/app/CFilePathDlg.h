#pragma once
// "File Path Setting": the download and upload folders of the HHU data exchange.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace mrv {

class CMrvDoc;

class CFilePathDlg : public QDialog {
    Q_OBJECT
public:
    CFilePathDlg(CMrvDoc& doc, QWidget* parent = nullptr);

    QLineEdit* DownloadEdit() const { return m_downloadEdit; }
    QLineEdit* UploadEdit() const { return m_uploadEdit; }
    QPushButton* DownloadBrowse() const { return m_downloadBrowse; }
    QPushButton* UploadBrowse() const { return m_uploadBrowse; }

protected:
    void accept() override;

private:
    void Browse(QLineEdit* edit, const QString& title);

    CMrvDoc& m_doc;
    QLineEdit* m_downloadEdit;
    QLineEdit* m_uploadEdit;
    QPushButton* m_downloadBrowse;
    QPushButton* m_uploadBrowse;
};

} // namespace mrv
