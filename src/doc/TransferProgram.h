#pragma once
// How the transfer program that moves data files to and from a hand-held unit is called: the
// program "tqlink" in the document's system folder, started with one argument, "d" and the
// download folder, or "u" and the upload month folder.
#include "base/Clock.h"

#include <string>

namespace mrv {

class CMrvDoc;

struct TransferCommand {
    std::string program;  // <systemDir>/tqlink
    std::string argument; // the letter and the folder, with nothing between them
};

// "<systemDir>/tqlink" (no second separator when the folder ends in one; "./tqlink" when the
// folder is empty).
std::string TransferProgramPath(const std::string& systemDir);

// "<dataPath>/YYYY-MM" of the month of `now`.
std::string UploadMonthFolder(const std::string& dataPath, const PcTime& now);

// Download: "d" + the download folder.
TransferCommand DownloadCommand(const CMrvDoc& doc);
// Upload: "u" + the month folder of the document's clock, created when no folder of that name
// exists (a failure to create it is left to the transfer program to meet).
TransferCommand UploadCommand(const CMrvDoc& doc);

} // namespace mrv
