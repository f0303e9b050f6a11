#pragma once
// What the window says about a data file it refused or converted, in the program's language:
// the data-file layer's own texts, marked there, translated; with no translation loaded
// exactly those.
#include "datafile/DataFileConvert.h"
#include "datafile/HhuDataFile.h"

#include <string>

namespace mrv {

// The reason of DataFileErrorText, translated.
std::string ShownDataFileError(DataFileError error);
// "Not Correct Data File!" and the reason on a line of its own (DataFileRefusalText).
std::string ShownDataFileRefusal(DataFileError error);
// "File Convertion Succeed!(convert.dbf)" with its notes, or the failure (ConvertMessage). The
// reason a conversion failed names files and the system's error and stays as it is.
std::string ShownConvertMessage(const ConvertResult& result);

} // namespace mrv
