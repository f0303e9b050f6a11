#include "doc/DataFileTexts.h"

#include "base/GbkText.h"

#include <QCoreApplication>

namespace mrv {

namespace {

// DataFileErrorText's reasons, in the order of DataFileError.
constexpr const char* kErrors[] = {
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "no error"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the file cannot be opened"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the file cannot be read"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts",
                      "the file is shorter than the fixed areas of a data file"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the file is longer than any data file"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the file does not start with the data file mark"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the file does not end with a data file trailer"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the parameter block has the wrong format mark"),
    QT_TRANSLATE_NOOP("mrv::DataFileTexts", "the record count runs past the end of the file"),
};

} // namespace

std::string ShownDataFileError(DataFileError error)
{
    const auto index = static_cast<std::size_t>(error);
    // A reason added to the data-file layer and not yet here is shown in its English.
    const char* text =
        index < std::size(kErrors) && std::string_view(kErrors[index]) == DataFileErrorText(error)
            ? kErrors[index]
            : nullptr;
    if (!text)
        return DataFileErrorText(error);
    return QCoreApplication::translate("mrv::DataFileTexts", text).toStdString();
}

std::string ShownDataFileRefusal(DataFileError error)
{
    return QCoreApplication::translate("mrv::DataFileTexts", "Not Correct Data File!\n(%1)")
        .arg(QString::fromStdString(ShownDataFileError(error)))
        .toStdString();
}

std::string ShownConvertMessage(const ConvertResult& result)
{
    if (!result.written)
        return result.failure.empty()
                   ? QCoreApplication::translate("mrv::DataFileTexts", "File Convertion Fail!")
                         .toStdString()
                   : QCoreApplication::translate("mrv::DataFileTexts", "File Convertion Fail!")
                             .toStdString() +
                         "\n" + result.failure;
    std::string text =
        QCoreApplication::translate("mrv::DataFileTexts", "File Convertion Succeed!(convert.dbf)")
            .toStdString();
    if (result.valuesTooWide == 1)
        text += "\n" +
                QCoreApplication::translate(
                    "mrv::DataFileTexts", "1 value was too wide for its field and shows as \"*\".")
                    .toStdString();
    else if (result.valuesTooWide > 1)
        text += "\n" + QCoreApplication::translate(
                           "mrv::DataFileTexts",
                           "%1 values were too wide for their fields and show as \"*\".")
                           .arg(result.valuesTooWide)
                           .toStdString();
    if (!result.leftOutFields.empty()) {
        std::string names;
        for (std::size_t i = 0; i < result.leftOutFields.size(); ++i)
            names += (i ? ", " : "") + GbkToUtf8(result.leftOutFields[i]);
        text += "\n" + QCoreApplication::translate("mrv::DataFileTexts",
                                                   "Only %1 fields fit the table; left out: %2.")
                           .arg(QString::number(kMaxDbfFields), QString::fromStdString(names))
                           .toStdString();
    }
    return text;
}

} // namespace mrv
