#include "datafile/DataFileConvert.h"


#include "base/GbkText.h"
#include "base/Translatable.h"
#include "datafile/FileBytes.h"
#include "datafile/HhuDataFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>

namespace mrv {

namespace fb = filebytes;

namespace {

// In the order they are looked for; the first that occurs in a keyword line is taken.
constexpr std::array<const char*, kConvertKeywordCount> kKeywordNames = {
    "DBF_METERNO_M", "DBF_ADDR2_M", "DBF_BREAD_M",    "DBF_K0_M",    "DBF_K1_M",  "DBF_K2_M",
    "DBF_K2_M",      "DBF_K3_M",    "DBF_KP0_M",      "DBF_K1P_M",   "DBF_K2P_M", "DBF_K3P_M",
    "DBF_K4P_M",     "DBF_DATE_M",  "DBF_MULTIPLY_M", "DBF_CONST_M",
};

constexpr std::size_t kMaxLine = 99;
constexpr std::size_t kMaxFieldName = 10;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Skips white space and '*', then takes everything up to the next white space; a double-byte
// character is taken whole, so its second byte is never mistaken for anything else.
std::string Word(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && (IsSpace(s[i]) || s[i] == '*'))
        ++i;
    const std::size_t start = i;
    while (i < s.size() && !IsSpace(s[i])) {
        const std::size_t n = GbkCharLength(static_cast<unsigned char>(s[i]));
        // A lead byte at the end of the line is half a character: not part of the word (a
        // field name of it alone would be cut to nothing).
        if (i + n > s.size())
            break;
        i += n;
    }
    return std::string(s.substr(start, i - start));
}

std::vector<std::string_view> SplitCommas(std::string_view s)
{
    std::vector<std::string_view> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = s.find(',', start);
        items.push_back(s.substr(start, comma == std::string_view::npos ? s.npos : comma - start));
        if (comma == std::string_view::npos)
            return items;
        start = comma + 1;
    }
}

std::uint8_t ByteOf(const std::string& word)
{
    return static_cast<std::uint8_t>(std::atoi(word.c_str()));
}

// A whole number of at most three digits, or nothing.
std::optional<int> SmallNumber(const std::string& word)
{
    if (word.empty() || word.size() > 3 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::atoi(word.c_str());
}

// GBK: ASCII, or a lead byte 0x81..0xfe and a trail byte 0x40..0xfe other than 0x7f.
bool IsGbk(std::string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80)
            continue;
        if (c == 0x80 || c == 0xff || i + 1 >= s.size())
            return false;
        const auto t = static_cast<unsigned char>(s[++i]);
        if (t < 0x40 || t == 0x7f || t == 0xff)
            return false;
    }
    return true;
}

// Non-ASCII text that reads as UTF-8 throughout: a file saved in the wrong code page.
bool LooksLikeUtf8(std::string_view s)
{
    bool multi = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c & 0xe0) == 0xc0 ? 2 : (c & 0xf0) == 0xe0 ? 3
                                          : (c & 0xf8) == 0xf0 ? 4 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xc0) != 0x80)
                return false;
        multi = multi || n > 1;
        i += n;
    }
    return multi;
}

// `value` with `decimals` places, as "%.*f" in the C locale gives it (to_chars never looks at
// the process locale, which the desktop sets from the user's environment).
std::string FixedText(double value, std::size_t decimals)
{
    char text[512];
    const int places = static_cast<int>(std::min<std::size_t>(decimals, 255));
    const auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, places);
    if (ec != std::errc())
        return std::string(sizeof text, '*'); // cannot happen for the values of a data file
    return std::string(text, end);
}

std::string RightAligned(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

int BcdByte(std::uint8_t b)
{
    return (b >> 4) * 10 + (b & 0x0F);
}

// What a keyword gives for one record: a text, and for the numeric keywords the number
// behind it, which a numeric column formats to its own width and decimals.
struct KeywordValue {
    std::string text;
    std::optional<double> number;
};

KeywordValue Energy(const std::uint8_t* p)
{
    const double value = fb::BcdToDouble(p);
    return {RightAligned(FixedText(value, 2), 10), value};
}

// The value a keyword puts into its column for one record, or none.
std::optional<KeywordValue> KeywordText(ConvertKeyword k, const std::uint8_t* r)
{
    const bool read = r[3] != 0;
    char text[32];
    switch (k) {
    case ConvertKeyword::MeterNo:
        std::snprintf(text, sizeof text, "%02x", r[4]);
        return KeywordValue{text, std::nullopt};
    case ConvertKeyword::Addr2:
        return KeywordValue{std::string(fb::ZeroTerminated(r + 6, 12)), std::nullopt};
    case ConvertKeyword::Bread:
        return KeywordValue{read ? "Yes" : "no", std::nullopt};
    case ConvertKeyword::Multiply:
        return KeywordValue{"   1", 1.0};
    case ConvertKeyword::Const: {
        // The whole constant: cutting it to 16 bits would turn 100000 imp/kWh into 34464.
        const int value = BcdByte(r[136]) * 10000 + BcdByte(r[135]) * 100 + BcdByte(r[134]);
        if (value == 0)
            return std::nullopt;
        std::snprintf(text, sizeof text, "%5i", value);
        return KeywordValue{text, static_cast<double>(value)};
    }
    default:
        break;
    }
    if (!read)
        return std::nullopt;
    switch (k) {
    case ConvertKeyword::K0:
        return Energy(r + 70);
    case ConvertKeyword::K1:
        return Energy(r + 74);
    case ConvertKeyword::K2:
        return Energy(r + 78);
    case ConvertKeyword::K2Again:
        return Energy(r + 82);
    case ConvertKeyword::K3:
        return Energy(r + 86);
    case ConvertKeyword::Kp0:
        return Energy(r + 90);
    case ConvertKeyword::K1p:
        return Energy(r + 94);
    case ConvertKeyword::K2p:
        return Energy(r + 98);
    case ConvertKeyword::K3p:
        return Energy(r + 102);
    case ConvertKeyword::K4p:
        return Energy(r + 106);
    case ConvertKeyword::Date:
        std::snprintf(text, sizeof text, "%02x/%02x/%02x", r[119], r[118], r[117]);
        return KeywordValue{text, std::nullopt};
    default:
        return std::nullopt;
    }
}

// The bytes a value takes in its column; `tooWide` is set when a number did not fit.
std::string FieldBytes(const KeywordValue& v, const DbfField& field, bool& tooWide)
{
    const std::size_t width = field.length;
    tooWide = false;
    if (!v.number) // a text is cut to its column, never a character in half
        return std::string(CutGbkBytes(v.text, width));
    std::string out;
    if (field.type == 'N') {
        out = DbfNumber(*v.number, width, field.decimals);
    } else {
        // A number in a character column keeps its text; the blanks before it may go to make
        // it fit, its digits never do.
        out = v.text;
        if (out.size() > width)
            out.erase(0, std::min(out.find_first_not_of(' '), out.size() - width));
        if (out.size() > width)
            out.assign(width, '*');
    }
    // Only an overflow (or a column of no width) leaves no digit at all.
    tooWide = out.find_first_not_of('*') == std::string::npos;
    return out;
}

} // namespace

std::string DbfNumber(double value, std::size_t width, std::size_t decimals)
{
    const std::string text = FixedText(value, decimals);
    return text.size() > width ? std::string(width, '*') : RightAligned(text, width);
}

namespace {

DbfDate TodayUtc()
{
    const std::time_t now = std::time(nullptr);
    const std::tm* t = std::gmtime(&now);
    if (!t)
        return {};
    return {t->tm_year + 1900, t->tm_mon + 1, t->tm_mday};
}

} // namespace

ConvertConfig ParseConvertConfig(const std::string& text)
{
    ConvertConfig config;
    std::array<std::string, kConvertKeywordCount> values;
    std::vector<int> fieldLines; // the line of each field, for messages
    std::size_t pos = 0;
    int lineNo = 0;
    const auto problem = [&](const std::string& what) {
        config.problems.push_back("line " + std::to_string(lineNo) + ": " + what);
    };
    if (text.compare(0, 3, "\xef\xbb\xbf") == 0) {
        lineNo = 1;
        problem("the file is saved as UTF-8; convert.cfg is read as GBK");
    }
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        line = line.substr(0, kMaxLine);
        if (const std::size_t c = line.find("//"); c != line.npos)
            line = line.substr(0, c);
        if (line.find(";;;") != line.npos)
            continue;
        if (const std::size_t star = line.find("***"); star != line.npos) {
            const std::string_view rest = line.substr(star + 3);
            int found = -1;
            for (int k = 0; k < kConvertKeywordCount && found < 0; ++k)
                if (rest.find(kKeywordNames[static_cast<std::size_t>(k)]) != rest.npos)
                    found = k;
            const std::size_t eq = rest.find('=');
            if (found < 0 || eq == rest.npos)
                continue;
            // Kept whole: it is matched against whole field names, before they are cut.
            const std::string value = Word(rest.substr(eq + 1));
            if (!value.empty())
                values[static_cast<std::size_t>(found)] = value;
            continue;
        }
        std::size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
            ++first;
        if (first >= line.size() || static_cast<unsigned char>(line[first]) >= 0x80 ||
            line[first] == '\0')
            continue;
        const std::vector<std::string_view> items = SplitCommas(line.substr(first));
        if (items.size() < 3)
            continue;
        const std::string name = Word(items[0]);
        const std::string type = Word(items[1]);
        const std::string length = Word(items[2]);
        if (name.empty() || type.empty() || length.empty())
            continue;
        if (config.fields.size() >= static_cast<std::size_t>(kMaxDbfFields)) {
            config.leftOutFields.push_back(name);
            continue;
        }
        DbfField field;
        field.name = std::string(CutGbkBytes(name, kMaxFieldName));
        const auto t = static_cast<unsigned char>(type[0]);
        field.type = static_cast<char>(t < 0x80 ? std::toupper(t) : t);
        field.length = ByteOf(length);
        field.decimals = field.type == 'N' && items.size() > 3 ? ByteOf(Word(items[3])) : 0;
        // What other programs refuse to read, or this one cannot fill.
        const std::string shown = IsGbk(name) ? GbkToUtf8(name) : name;
        // The name as written, before a half character at its end is dropped.
        std::string_view written = items[0];
        while (!written.empty() && IsSpace(written.back()))
            written.remove_suffix(1);
        if (!IsGbk(written) || LooksLikeUtf8(written))
            problem("the field name is not GBK or ASCII text");
        if (type.size() != 1 || std::string_view("CNDL").find(field.type) == std::string_view::npos)
            problem("field " + shown + " has the type \"" + (IsGbk(type) ? GbkToUtf8(type) : "?") +
                    "\"; the types are C, N, D and L");
        const std::optional<int> len = SmallNumber(length);
        if (!len || *len < 1 || *len > 254)
            problem("field " + shown + " has the length \"" + (IsGbk(length) ? GbkToUtf8(length) : "?") +
                    "\"; lengths run from 1 to 254");
        if (field.type == 'N' && items.size() > 3) {
            const std::string dec = Word(items[3]);
            const std::optional<int> d = SmallNumber(dec);
            if (!d || (len && *d > 0 && *d >= *len))
                problem("field " + shown + " has " + (IsGbk(dec) ? GbkToUtf8(dec) : "?") +
                        " decimals; they must be fewer than its length");
        }
        for (std::size_t k = 0; k < config.fields.size(); ++k)
            if (config.fields[k].name == field.name)
                problem("field " + shown + " has the same name as the field of line " +
                        std::to_string(fieldLines[k]) + " when cut to 10 characters (" +
                        GbkToUtf8(field.name) + ")");
        fieldLines.push_back(lineNo);
        field.offset = 1;
        if (!config.fields.empty())
            field.offset = config.fields.back().offset + config.fields.back().length;
        const int index = static_cast<int>(config.fields.size());
        config.fields.push_back(field);
        for (int k = 0; k < kConvertKeywordCount; ++k)
            if (values[static_cast<std::size_t>(k)] == name)
                config.keywordField[static_cast<std::size_t>(k)] = index;
    }
    return config;
}

ConvertResult ConvertDataBytes(const ConvertConfig& config, std::span<const std::uint8_t> data,
                               const DbfDate& d, std::vector<std::uint8_t>& out)
{
    using namespace hhufile;
    ConvertResult result;
    out.clear();
    if (data.size() < kBlockTableOffset + kBlockTableSize)
        return result;
    const std::size_t n = fb::GetU16(&data[kBlockTableOffset + 1]);
    // Records the file does not hold are not made up.
    if (data.size() < kRecordsOffset + kRecordSize * n)
        return result;

    const std::size_t f = config.fields.size();
    std::size_t recordLength = 1;
    for (const DbfField& field : config.fields)
        recordLength += field.length;
    const std::size_t headerLength = 32 + 32 * f + 1;

    out.assign(headerLength, 0);
    out[0] = 0x03;
    out[1] = static_cast<std::uint8_t>(d.year - 1900);
    out[2] = static_cast<std::uint8_t>(d.month);
    out[3] = static_cast<std::uint8_t>(d.day);
    fb::PutU32(&out[4], static_cast<std::uint32_t>(n));
    fb::PutU16(&out[8], static_cast<std::uint32_t>(headerLength));
    fb::PutU16(&out[10], static_cast<std::uint32_t>(recordLength));
    for (std::size_t i = 0; i < f; ++i) {
        const DbfField& field = config.fields[i];
        std::uint8_t* desc = &out[32 + 32 * i];
        std::memcpy(desc, field.name.data(), std::min<std::size_t>(field.name.size(), 10));
        desc[11] = static_cast<std::uint8_t>(field.type);
        fb::PutU32(desc + 12, field.offset);
        desc[16] = field.length;
        desc[17] = field.decimals;
    }
    out[32 + 32 * f] = 0x0D;

    out.reserve(headerLength + recordLength * n + 1);
    std::vector<std::uint8_t> record(recordLength);
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint8_t* r = &data[kRecordsOffset + kRecordSize * k];
        std::fill(record.begin(), record.end(), ' ');
        for (int kw = 0; kw < kConvertKeywordCount; ++kw) {
            const int fieldIndex = config.keywordField[static_cast<std::size_t>(kw)];
            if (fieldIndex < 0)
                continue;
            const std::optional<KeywordValue> value =
                KeywordText(static_cast<ConvertKeyword>(kw), r);
            if (!value)
                continue;
            const DbfField& field = config.fields[static_cast<std::size_t>(fieldIndex)];
            // Never longer than its column, so nothing spills into the next one.
            bool tooWide = false;
            const std::string bytes = FieldBytes(*value, field, tooWide);
            std::memcpy(&record[field.offset], bytes.data(), bytes.size());
            result.valuesTooWide += tooWide ? 1 : 0;
        }
        out.insert(out.end(), record.begin(), record.end());
    }
    out.push_back(0x1A);
    result.written = 1;
    result.leftOutFields = config.leftOutFields;
    return result;
}

ConvertResult ConvertDataFile(const std::string& dataPath, const std::string& configPath,
                              const std::string& dbfPath, std::optional<DbfDate> date)
{
    auto failed = [](std::string why) {
        ConvertResult result;
        result.failure = std::move(why);
        return result;
    };
    std::vector<std::uint8_t> cfgBytes;
    if (!fb::ReadFileWhole(configPath, cfgBytes))
        return failed("Can't read " + configPath + ": " + fb::SystemErrorText(errno) + ".");
    const ConvertConfig config = ParseConvertConfig(std::string(cfgBytes.begin(), cfgBytes.end()));
    if (!config.problems.empty()) {
        std::string why = configPath + " cannot make a table:";
        for (const std::string& p : config.problems)
            why += "\n" + p;
        return failed(why);
    }
    std::vector<std::uint8_t> data;
    if (!fb::ReadFileWhole(dataPath, data))
        return failed("Can't read " + dataPath + ": " + fb::SystemErrorText(errno) + ".");
    std::vector<std::uint8_t> table;
    ConvertResult result = ConvertDataBytes(config, data, date ? *date : TodayUtc(), table);
    if (!result.written)
        return failed(dataPath + " is shorter than its Block table or its record count.");
    if (const fb::WriteResult written = fb::WriteFileWhole(dbfPath, table); !written)
        return failed(fb::WriteFailureText(dbfPath, written));
    return result;
}

std::vector<Phrase> ConvertMessagePhrases(const ConvertResult& result)
{
    const auto say = [](const char* text, std::vector<std::string> args = {},
                        const char* lead = "") {
        return Phrase{"mrv::DataFileTexts", text, std::move(args), lead};
    };
    if (!result.written) {
        std::vector<Phrase> said{
            say(MRV_TRANSLATABLE("mrv::DataFileTexts", "File Convertion Fail!"))};
        // The reason names files and the system's error: as it is.
        if (!result.failure.empty())
            said.push_back(Phrase{"", "%1", {result.failure}, "\n"});
        return said;
    }
    std::vector<Phrase> said{
        say(MRV_TRANSLATABLE("mrv::DataFileTexts", "File Convertion Succeed!(convert.dbf)"))};
    if (result.valuesTooWide == 1)
        said.push_back(say(MRV_TRANSLATABLE("mrv::DataFileTexts",
                                            "1 value was too wide for its field and shows as "
                                            "\"*\"."),
                           {}, "\n"));
    else if (result.valuesTooWide > 1)
        said.push_back(say(MRV_TRANSLATABLE("mrv::DataFileTexts",
                                            "%1 values were too wide for their fields and show "
                                            "as \"*\"."),
                           {std::to_string(result.valuesTooWide)}, "\n"));
    if (!result.leftOutFields.empty()) {
        std::string names;
        for (std::size_t i = 0; i < result.leftOutFields.size(); ++i)
            names += (i ? ", " : "") + GbkToUtf8(result.leftOutFields[i]);
        said.push_back(say(
            MRV_TRANSLATABLE("mrv::DataFileTexts", "Only %1 fields fit the table; left out: %2."),
            {std::to_string(kMaxDbfFields), names}, "\n"));
    }
    return said;
}

std::string ConvertMessage(const ConvertResult& result)
{
    return Joined(ConvertMessagePhrases(result));
}

} // namespace mrv
