#include "datafile/FileBytes.h"

#include "link/Codecs.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <span>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace mrv::filebytes {

double BcdToDouble(const std::uint8_t* p)
{
    // A load decodes ten values per record; formatting and parsing text for each is most of
    // its time. For proper BCD the hundredths divided by 100 give the same double as the
    // codec's text (both are the correctly rounded value); anything else goes to the codec.
    std::uint32_t hundredths = 0;
    for (int i = 3; i >= 0; --i) {
        const unsigned hi = p[i] >> 4;
        const unsigned lo = p[i] & 0x0Fu;
        if (hi > 9 || lo > 9)
            return mrv::BcdToDouble(GetU32(p));
        hundredths = hundredths * 100 + hi * 10 + lo;
    }
    return static_cast<double>(hundredths) / 100.0;
}

std::string BytesToHex(const std::uint8_t* p, std::size_t n)
{
    return BytesToHexText(std::span<const std::uint8_t>(p, n));
}

std::uint8_t HexTextToByte(std::string_view text)
{
    std::uint8_t b = 0;
    HexTextToBytes(text, std::span<std::uint8_t>(&b, 1));
    return b;
}

std::string_view ZeroTerminated(const std::uint8_t* p, std::size_t max)
{
    const auto* s = reinterpret_cast<const char*>(p);
    const void* zero = std::memchr(s, 0, max);
    return {s, zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - s) : max};
}

namespace {

// The bytes reach the disk before the name does: after a power cut the file holds either its
// old content or the whole new one, never an empty or partial one.
bool FlushToDisk(std::FILE* f)
{
    if (std::fflush(f) != 0)
        return false;
#if defined(_WIN32)
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

// The rename is an entry of the folder; it is on the disk once the folder is.
void FlushFolder(const std::filesystem::path& folder)
{
#if !defined(_WIN32)
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    (void)folder; // NTFS journals the rename itself
#endif
}

// ".<name>.<8 hex digits>.part": a temporary file of WriteFileWhole (or of a database built
// under a temporary name, with the journal the engine keeps beside it).
bool IsOurPartName(std::string name)
{
    constexpr std::string_view kJournal = "-journal";
    if (name.size() > kJournal.size() &&
        name.compare(name.size() - kJournal.size(), kJournal.size(), kJournal) == 0)
        name.resize(name.size() - kJournal.size());
    constexpr std::size_t kTail = 1 + 8 + 5; // ".xxxxxxxx.part"
    if (name.size() < 1 + 1 + kTail || name[0] != '.' ||
        name.compare(name.size() - 5, 5, ".part") != 0 || name[name.size() - kTail] != '.')
        return false;
    for (std::size_t i = name.size() - kTail + 1; i < name.size() - 5; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

} // namespace

int RemoveStaleParts(const std::string& folder)
{
    namespace fs = std::filesystem;
    constexpr auto kStale = std::chrono::hours(24);
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    int removed = 0;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code fileError;
        if (!IsOurPartName(name) || !it->is_regular_file(fileError))
            continue;
        const auto written = it->last_write_time(fileError);
        if (!fileError && now - written > kStale && fs::remove(it->path(), fileError))
            ++removed;
    }
    return removed;
}

WriteResult WriteFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    return WriteFileWholeWith(path, [&bytes](std::FILE* f, const std::string&) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size())
            return 0;
        return errno ? errno : EIO;
    });
}

WriteResult WriteFileWholeWith(const std::string& path,
                               const std::function<int(std::FILE*, const std::string&)>& fill)
{
    namespace fs = std::filesystem;
    using Step = WriteResult::Step;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    // A file replaced keeps its permissions (one kept private stays private); a new one gets
    // what a plain create gives.
    std::error_code statusError;
    const fs::file_status old = fs::status(target, statusError);
    const bool replacing = !statusError && fs::is_regular_file(old);
    // What a killed run left behind (never one that may still be being written).
    RemoveStaleParts(folder.string());
    std::random_device rd;
    for (int attempt = 0; attempt < 8; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(rd()));
        const fs::path temp = folder / ("." + target.filename().string() + suffix);
        // "x": never reuse or clobber a file that happens to have this name.
        std::FILE* f = std::fopen(temp.string().c_str(), "wxb");
        if (!f) {
            if (errno == EEXIST)
                continue;
            return {Step::Create, errno, replacing};
        }
        WriteResult result;
        result.existed = replacing;
        auto failed = [&result](Step step) {
            if (result) {
                result.failedAt = step;
                result.error = errno;
            }
        };
        // A full disk or a file-size limit shows in the write, the flush or the close.
        if (const int error = fill(f, temp.string()); error != 0) {
            result.failedAt = Step::Write;
            result.error = error;
        }
        if (result && !FlushToDisk(f))
            failed(Step::Flush);
        if (std::fclose(f) != 0)
            failed(Step::Flush);
        std::error_code ec;
        if (result && replacing) {
            fs::permissions(temp, old.permissions(), fs::perm_options::replace, ec);
            if (ec)
                result = {Step::Permissions, ec.value(), replacing};
        }
        if (result) {
            fs::rename(temp, target, ec);
            if (ec)
                result = {Step::Rename, ec.value(), replacing};
        }
        if (!result) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            return result;
        }
        FlushFolder(folder);
        return result;
    }
    return {Step::Create, EEXIST, replacing};
}

std::string SystemErrorText(int error)
{
    return error ? std::strerror(error) : "unknown error";
}

std::string WriteFailureText(const std::string& path, const WriteResult& result)
{
    if (result)
        return {};
    return "Can't write " + path + ": " + SystemErrorText(result.error) + "." +
           (result.existed ? " The file that was there is unchanged." : " No file was written.");
}

bool ReadFileWhole(const std::string& path, std::vector<std::uint8_t>& out)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    const bool ok = ReadOpenFile(f, static_cast<std::size_t>(-1), out);
    std::fclose(f);
    return ok;
}

bool ReadOpenFile(std::FILE* f, std::size_t maxBytes, std::vector<std::uint8_t>& out)
{
    out.clear();
    if (std::fseek(f, 0, SEEK_SET) != 0)
        return false;
    std::uint8_t buf[65536];
    while (out.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buf, maxBytes - out.size());
        const std::size_t got = std::fread(buf, 1, want, f);
        out.insert(out.end(), buf, buf + got);
        if (got < want)
            break;
    }
    return !std::ferror(f);
}

} // namespace mrv::filebytes
