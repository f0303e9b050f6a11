#pragma once
// Fixed texts of the layers without Qt that the window shows in the user's language. A text is
// marked where it is written with MRV_TRANSLATABLE(context, text): here that is the text itself;
// the translation tools collect it under `context`, and the window looks it up there
// (QCoreApplication::translate(context, text)). Files, meters and mrvctl get the text as written.
#include <string>
#include <vector>

#define MRV_TRANSLATABLE(context, text) text

namespace mrv {

// A sentence made of a marked template and the values for its %1..%9, kept apart so that the
// window can translate the template and put the values in. `lead` is what stands before it when
// sentences are joined (" ", "\n"), never translated.
struct Phrase {
    const char* context = "";
    const char* source = "";
    std::vector<std::string> args;
    std::string lead;

    std::string AsWritten() const;
};

// `text` with args[i] in place of %<i+1>, in one pass, so that a value's own "%2" stays as it is.
std::string FillArgs(const std::string& text, const std::vector<std::string>& args);

// The phrases as written, each after its lead.
std::string Joined(const std::vector<Phrase>& phrases);

} // namespace mrv
