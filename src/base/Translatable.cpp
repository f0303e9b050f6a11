#include "base/Translatable.h"

namespace mrv {

std::string Phrase::AsWritten() const
{
    return FillArgs(source, args);
}

std::string FillArgs(const std::string& text, const std::vector<std::string>& args)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' &&
            std::size_t(text[i + 1] - '1') < args.size()) {
            out += args[std::size_t(text[i + 1] - '1')];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Joined(const std::vector<Phrase>& phrases)
{
    std::string out;
    for (const Phrase& p : phrases)
        out += p.lead + p.AsWritten();
    return out;
}

} // namespace mrv
