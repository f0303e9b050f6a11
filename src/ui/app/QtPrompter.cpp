#include "ui/app/QtPrompter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

namespace mrv {

QtPrompter::QtPrompter(QWidget* parent, QString defaultCaption)
    : m_parent(parent), m_defaultCaption(std::move(defaultCaption))
{
}

MsgAnswer QtPrompter::Message(const std::string& text, const std::string& caption, MsgIcon icon,
                              MsgButtons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.empty() ? m_defaultCaption : QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::Ok:
        set = QMessageBox::Ok;
        break;
    case MsgButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case MsgButtons::RetryCancel:
        set = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(set);
    if (buttons == MsgButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    default:
        // Escape or the close box: the answer that leaves things as they are.
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo
                   ? MsgAnswer::No
               : buttons == MsgButtons::Ok  ? MsgAnswer::Ok
                                            : MsgAnswer::Cancel;
    }
}

QString QtPrompter::ToQtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << QString("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(";;");
}

std::optional<std::string> QtPrompter::ChooseFile(bool save, const std::string& title,
                                                  const std::string& filter,
                                                  const std::string& startDir,
                                                  const std::string& defaultExt)
{
    QFileDialog dlg(m_parent, QString::fromStdString(title));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Callers that must not replace a file ask through Message themselves; the database
    // chooser uses this dialog to pick an existing file or name a new one.
    if (save)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    // A chooser that opens an existing file or names a new one says "Open", not "Save"; its
    // title may come in the window's language.
    const QString shownTitle = QString::fromStdString(title);
    if (save && (shownTitle.startsWith("Open") ||
                 shownTitle.startsWith(QCoreApplication::translate(
                     "mrv::QtPrompter", "Open", "first word of a file chooser's title")))) {
        dlg.setLabelText(QFileDialog::Accept,
                         QCoreApplication::translate("mrv::QtPrompter", "&Open", "file chooser"));
    }
    dlg.setNameFilter(ToQtFilter(filter));
    if (!defaultExt.empty()) {
        QString ext = QString::fromStdString(defaultExt);
        if (ext.startsWith('.'))
            ext.remove(0, 1);
        dlg.setDefaultSuffix(ext);
    }
    // startDir may name a file: open in its folder with the name preset.
    const QFileInfo start(QString::fromStdString(startDir));
    if (!startDir.empty() && !start.isDir()) {
        dlg.setDirectory(start.absolutePath());
        dlg.selectFile(start.fileName());
    } else if (!startDir.empty()) {
        dlg.setDirectory(start.absoluteFilePath());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().first().toStdString();
}

std::optional<std::string> QtPrompter::ChooseOpenFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& startDir,
                                                      const std::string& defaultExt)
{
    return ChooseFile(false, title, filter, startDir, defaultExt);
}

std::optional<std::string> QtPrompter::ChooseSaveFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& startDir,
                                                      const std::string& defaultExt)
{
    return ChooseFile(true, title, filter, startDir, defaultExt);
}

std::optional<std::string> QtPrompter::ChooseFolder(const std::string& title,
                                                    const std::string& startDir)
{
    const QString dir = QFileDialog::getExistingDirectory(m_parent, QString::fromStdString(title),
                                                          QString::fromStdString(startDir),
                                                          QFileDialog::ShowDirsOnly);
    if (dir.isEmpty())
        return std::nullopt;
    return dir.toStdString();
}

std::optional<std::string> QtPrompter::AskPassword(const std::string& title,
                                                   const std::string& prompt)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, QString::fromStdString(title),
                              QString::fromStdString(prompt), QLineEdit::Password, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

} // namespace mrv
