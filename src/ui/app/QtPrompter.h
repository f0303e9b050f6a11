#pragma once
// Prompter on real Qt dialogs: message boxes and the file and folder choosers.
#include "base/Prompter.h"

#include <QString>

class QWidget;

namespace mrv {

class QtPrompter final : public Prompter {
public:
    // `parent` owns the dialogs (may be null); `defaultCaption` is used for an empty caption.
    explicit QtPrompter(QWidget* parent = nullptr, QString defaultCaption = "mrv003e");

    void SetParent(QWidget* parent) { m_parent = parent; }

    MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override;
    std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override;
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override;
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& startDir) override;
    std::optional<std::string> AskPassword(const std::string& title,
                                           const std::string& prompt) override;

    // "description|*.a *.b|description|*.c" -> "description (*.a *.b);;description (*.c)"
    static QString ToQtFilter(const std::string& filter);

private:
    std::optional<std::string> ChooseFile(bool save, const std::string& title,
                                          const std::string& filter, const std::string& startDir,
                                          const std::string& defaultExt);

    QWidget* m_parent;
    QString m_defaultCaption;
};

} // namespace mrv
