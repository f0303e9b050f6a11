#include "doc/DataFileTexts.h"

#include "doc/PhraseText.h"

#include <QCoreApplication>

namespace mrv {

std::string ShownDataFileError(DataFileError error)
{
    return QCoreApplication::translate("mrv::DataFileTexts", DataFileErrorText(error))
        .toStdString();
}

std::string ShownDataFileRefusal(DataFileError error)
{
    return QCoreApplication::translate("mrv::DataFileTexts", "Not Correct Data File!\n(%1)")
        .arg(QString::fromStdString(ShownDataFileError(error)))
        .toStdString();
}

std::string ShownConvertMessage(const ConvertResult& result)
{
    return Translated(ConvertMessagePhrases(result)).toStdString();
}

} // namespace mrv
