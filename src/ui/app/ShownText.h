#pragma once

#include <QString>

#include <string>

namespace mrv {

// A text of the engine or the data-file layer as a text box shows it: their lines end in
// "\r\n", and a box would show the '\r' as a stray mark or an extra line.
inline QString ShownText(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.remove('\r');
    return shown;
}

} // namespace mrv
