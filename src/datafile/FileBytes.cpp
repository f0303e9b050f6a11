#include "datafile/FileBytes.h"

#include "link/Codecs.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <span>

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

bool WriteFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    namespace fs = std::filesystem;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
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
            return false;
        }
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        ok = (std::fflush(f) == 0) && ok;
        ok = (std::fclose(f) == 0) && ok;
        std::error_code ec;
        if (ok)
            fs::rename(temp, target, ec);
        if (!ok || ec) {
            fs::remove(temp, ec);
            return false;
        }
        return true;
    }
    return false;
}

bool ReadFileWhole(const std::string& path, std::vector<std::uint8_t>& out)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    out.clear();
    std::uint8_t buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.insert(out.end(), buf, buf + got);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

} // namespace mrv::filebytes
