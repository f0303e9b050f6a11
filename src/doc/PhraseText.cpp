#include "doc/PhraseText.h"

#include <QCoreApplication>

namespace mrv {

QString Translated(const Phrase& phrase)
{
    const QString text = QCoreApplication::translate(phrase.context, phrase.source);
    return QString::fromStdString(FillArgs(text.toStdString(), phrase.args));
}

QString Translated(const std::vector<Phrase>& phrases)
{
    QString out;
    for (const Phrase& p : phrases) {
        // Sentences that end in a full-width stop or colon run on without a space between.
        const bool fullWidthEnd =
            !out.isEmpty() && ((out.back().unicode() >= 0x3000 && out.back().unicode() <= 0x303f) ||
                               out.back().unicode() >= 0xff00);
        if (!(fullWidthEnd && p.lead == " "))
            out += QString::fromStdString(p.lead);
        out += Translated(p);
    }
    return out;
}

} // namespace mrv
