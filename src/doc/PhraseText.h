#pragma once
// The sentences of the layers without Qt in the window's language: each template looked up
// under its context, then its values put in their places.
#include "base/Translatable.h"

#include <QString>

#include <vector>

namespace mrv {

QString Translated(const Phrase& phrase);
// The phrases translated, each after its lead.
QString Translated(const std::vector<Phrase>& phrases);

} // namespace mrv
