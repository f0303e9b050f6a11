#pragma once
// The one way the program asks the user something or shows a message. The Qt implementation
// shows real dialogs; tests answer from a script, so no logic below the widgets ever blocks
// on a real message box.
#include <optional>
#include <string>

namespace mrv {

enum class MsgIcon { None, Information, Warning, Error, Question };
// YesNoDefaultNo: a question whose safe answer is No (Enter and Escape answer No).
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, YesNoDefaultNo };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows `text` under `caption` (an empty caption means the program's default one) and
    // returns the button pressed.
    virtual MsgAnswer Message(const std::string& text, const std::string& caption = {},
                              MsgIcon icon = MsgIcon::None,
                              MsgButtons buttons = MsgButtons::Ok) = 0;

    // File chooser for an existing file. `filter` is "description|pattern pattern|..." pairs,
    // for example "database(.db)|*.db *.sqlite *.mdb". Empty result: cancelled.
    virtual std::optional<std::string> ChooseOpenFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& startDir,
                                                      const std::string& defaultExt = {}) = 0;

    // File chooser for a file to write (may not exist yet).
    virtual std::optional<std::string> ChooseSaveFile(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& startDir,
                                                      const std::string& defaultExt = {}) = 0;

    // Folder chooser.
    virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                    const std::string& startDir) = 0;

    // Asks for a password (typed without echo). Empty result: cancelled.
    virtual std::optional<std::string> AskPassword(const std::string& title,
                                                   const std::string& prompt) = 0;
};

} // namespace mrv
