#pragma once
// Byte helpers shared by the data-file reader, writer and converter.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mrv::filebytes {

inline void PutU16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint32_t GetU16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

inline std::uint32_t GetU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The meter codecs over bytes in a file (least significant byte first).
double BcdToDouble(const std::uint8_t* p);
std::string BytesToHex(const std::uint8_t* p, std::size_t n);
// The first two characters of `text` as one hex byte.
std::uint8_t HexTextToByte(std::string_view text);

// Bytes up to the first zero, at most `max`.
std::string_view ZeroTerminated(const std::uint8_t* p, std::size_t max);

// How writing a file ended: the step that failed, if any, and the system's error number.
struct WriteResult {
    enum class Step { None, Create, Write, Flush, Permissions, Rename };
    Step failedAt = Step::None;
    int error = 0;         // errno of the failure
    bool existed = false;  // a file of that name was there before (and still is, unchanged)

    explicit operator bool() const { return failedAt == Step::None; }
};

// Writes `bytes` to `path` through a fresh file beside it that is flushed to the disk, given
// the permissions of the file it replaces and renamed over `path` when complete, so `path`
// holds either its old content or the whole new one, never a part, even after a power cut
// or on a full disk. A failed write leaves no file of its own behind.
[[nodiscard]] WriteResult WriteFileWhole(const std::string& path,
                                         const std::vector<std::uint8_t>& bytes);

// The same for content made by `fill`: it writes the fresh file, through `file` or by opening
// `tempPath` itself (a library that wants a file name), and returns 0, or the errno of its
// failure, which then counts as a failed write. ECANCELED is the way to give up.
[[nodiscard]] WriteResult WriteFileWholeWith(
    const std::string& path,
    const std::function<int(std::FILE* file, const std::string& tempPath)>& fill);
// Removes the temporary files WriteFileWhole leaves when the program is killed mid-write
// (".<name>.<8 hex digits>.part") that are older than a day from `folder`; the number removed.
int RemoveStaleParts(const std::string& folder);

// What the user is told of a failed write: "Can't write <path>: No space left on device.
// The file that was there is unchanged." (or "No file was written." when there was none).
std::string WriteFailureText(const std::string& path, const WriteResult& result);

// The system's text for an error number ("No space left on device").
std::string SystemErrorText(int error);

// Reads a whole file; false when it cannot be opened or read.
bool ReadFileWhole(const std::string& path, std::vector<std::uint8_t>& out);

// Reads an open file from its start, at most `maxBytes`; false on a read error.
bool ReadOpenFile(std::FILE* f, std::size_t maxBytes, std::vector<std::uint8_t>& out);

} // namespace mrv::filebytes
