#pragma once
// What OK of the File Path Setting dialog does with the two typed folders.
#include "base/Prompter.h"

#include <string>

namespace mrv {

enum class FilePathResult {
    Done,           // both stored
    DownloadFailed, // the download folder could not be created; nothing stored
    UploadFailed,   // the upload folder could not be created; the download folder is stored
};

// A missing folder is offered for creation; declining keeps the path as typed. A folder
// that cannot be created stops there with "Can't Create This ... Path!".
FilePathResult ApplyFilePaths(Prompter& prompter, const std::string& typedDownload,
                              const std::string& typedUpload, std::string& downloadPath,
                              std::string& dataPath);

} // namespace mrv
