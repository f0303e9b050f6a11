#include "ui/app/CFilePathDlg.h"

#include "doc/CMrvDoc.h"
#include "doc/FilePathRules.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mrv {

CFilePathDlg::CFilePathDlg(CMrvDoc& doc, QWidget* parent) : QDialog(parent), m_doc(doc)
{
    setWindowTitle(tr("File Path Setting"));
    m_downloadEdit = new QLineEdit(QString::fromStdString(doc.m_downloadPath), this);
    m_downloadEdit->setObjectName("downloadpath");
    m_uploadEdit = new QLineEdit(QString::fromStdString(doc.m_dataPath), this);
    m_uploadEdit->setObjectName("uploadpath");
    m_downloadBrowse = new QPushButton("...", this);
    m_uploadBrowse = new QPushButton("...", this);
    for (auto* b : {m_downloadBrowse, m_uploadBrowse})
        b->setFixedWidth(32);
    m_downloadEdit->setMinimumWidth(320);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("File DownLoad Path"), this), 0, 0, 1, 2);
    grid->addWidget(m_downloadEdit, 1, 0);
    grid->addWidget(m_downloadBrowse, 1, 1);
    grid->addWidget(new QLabel(tr("File UpLoad Path"), this), 2, 0, 1, 2);
    grid->addWidget(m_uploadEdit, 3, 0);
    grid->addWidget(m_uploadBrowse, 3, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(buttons);

    connect(m_downloadBrowse, &QPushButton::clicked, this,
            [this] { Browse(m_downloadEdit, tr("Please Choice Download Path:")); });
    connect(m_uploadBrowse, &QPushButton::clicked, this,
            [this] { Browse(m_uploadEdit, tr("Please Choice Upload Path:")); });
}

void CFilePathDlg::Browse(QLineEdit* edit, const QString& title)
{
    const auto folder =
        m_doc.GetPrompter().ChooseFolder(title.toStdString(), edit->text().toStdString());
    if (folder)
        edit->setText(QString::fromStdString(*folder));
}

void CFilePathDlg::accept()
{
    switch (ApplyFilePaths(m_doc.GetPrompter(), m_downloadEdit->text().toStdString(),
                           m_uploadEdit->text().toStdString(), m_doc.m_downloadPath,
                           m_doc.m_dataPath)) {
    case FilePathResult::Done:
        QDialog::accept();
        return;
    case FilePathResult::DownloadFailed:
        m_downloadEdit->setText(QString::fromStdString(m_doc.m_downloadPath));
        m_downloadEdit->setFocus();
        return;
    case FilePathResult::UploadFailed:
        m_uploadEdit->setText(QString::fromStdString(m_doc.m_dataPath));
        m_uploadEdit->setFocus();
        return;
    }
}

} // namespace mrv
