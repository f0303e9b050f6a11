#include "StderrPrompter.h"

#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace mrv {

MsgAnswer StderrPrompter::Message(const std::string& text, const std::string& caption, MsgIcon,
                                  MsgButtons buttons)
{
    ++m_count;
    // Message texts often end in "\n" or "\r\n" already; print exactly one line end.
    std::string line = text;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' '))
        line.pop_back();
    if (caption.empty())
        std::fprintf(m_out, "%s\n", line.c_str());
    else
        std::fprintf(m_out, "%s: %s\n", caption.c_str(), line.c_str());
    std::fflush(m_out);

    switch (buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::OkCancel:
        return m_yes ? MsgAnswer::Ok : MsgAnswer::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        return m_yes ? MsgAnswer::Yes : MsgAnswer::No;
    case MsgButtons::YesNoCancel:
        return m_yes ? MsgAnswer::Yes : MsgAnswer::Cancel;
    case MsgButtons::RetryCancel:
        return m_yes ? MsgAnswer::Retry : MsgAnswer::Cancel;
    }
    return MsgAnswer::Cancel;
}

std::optional<std::string> StderrPrompter::ChooseOpenFile(const std::string&, const std::string&,
                                                          const std::string&, const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> StderrPrompter::ChooseSaveFile(const std::string&, const std::string&,
                                                          const std::string&, const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> StderrPrompter::ChooseFolder(const std::string&, const std::string&)
{
    return std::nullopt;
}

std::optional<std::string> StderrPrompter::AskPassword(const std::string&,
                                                       const std::string& prompt)
{
    const int fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    termios saved{};
    const bool terminal = tcgetattr(fd, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    const std::string ask = prompt + " ";
    [[maybe_unused]] const auto written = write(fd, ask.data(), ask.size());
    std::string line;
    bool ended = false;
    char c = 0;
    while (read(fd, &c, 1) == 1) {
        if (c == '\n') {
            ended = true;
            break;
        }
        line += c;
    }
    if (terminal)
        tcsetattr(fd, TCSAFLUSH, &saved);
    [[maybe_unused]] const auto newline = write(fd, "\n", 1);
    close(fd);
    if (!ended)
        return std::nullopt;
    return line;
}

} // namespace mrv
