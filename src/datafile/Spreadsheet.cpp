#include "datafile/Spreadsheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

namespace mrv {

std::optional<SpreadsheetFormat> SpreadsheetFormatOf(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.')
        return std::nullopt;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (ext == "xlsx")
        return SpreadsheetFormat::Xlsx;
    if (ext == "csv")
        return SpreadsheetFormat::Csv;
    return std::nullopt;
}

std::optional<CalendarDate> ParseIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            v = v * 10 + (text[i] - '0');
        }
        return v;
    };
    const CalendarDate d{number(0, 4), number(5, 2), number(8, 2)};
    if (!IsValidDate(d))
        return std::nullopt;
    return d;
}

std::string IsoDateText(const CalendarDate& d)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

namespace {

// UTF-8 to code points; a byte that starts no proper sequence stands for itself as U+FFFD.
std::u32string Decode(std::string_view s)
{
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        bool ok = n > 0 && i + n <= s.size();
        char32_t c = n == 1 ? b : n == 2 ? (b & 0x1Fu) : n == 3 ? (b & 0x0Fu) : (b & 0x07u);
        for (std::size_t k = 1; ok && k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            ok = (t >> 6) == 2;
            c = (c << 6) | (t & 0x3Fu);
        }
        if (!ok) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        out.push_back(c);
        i += n;
    }
    return out;
}

std::string Encode(const std::u32string& s)
{
    std::string out;
    for (char32_t c : s) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

// Excel counts a name's length in UTF-16 units.
std::size_t Utf16Length(const std::u32string& s)
{
    std::size_t n = 0;
    for (char32_t c : s)
        n += c > 0xFFFF ? 2 : 1;
    return n;
}

std::u32string CutToUtf16(std::u32string s, std::size_t units)
{
    while (Utf16Length(s) > units)
        s.pop_back();
    return s;
}

// Sheet names are compared ignoring case.
std::u32string Folded(const std::u32string& s)
{
    std::u32string f = s;
    for (char32_t& c : f)
        if (c >= U'A' && c <= U'Z')
            c = c - U'A' + U'a';
    return f;
}

constexpr std::size_t kSheetNameMax = 31;

} // namespace

std::vector<std::string> SheetNames(const std::vector<std::string>& wished)
{
    std::vector<std::u32string> taken = {U"history"}; // Excel keeps that name for itself
    std::vector<std::string> names;
    for (std::size_t k = 0; k < wished.size(); ++k) {
        std::u32string name = Decode(wished[k]);
        for (char32_t& c : name)
            if (c < 0x20 || c == 0x7F ||
                std::u32string_view(U":\\/?*[]").find(c) != std::u32string_view::npos)
                c = U'_';
        while (!name.empty() && name.front() == U'\'')
            name.erase(name.begin());
        name = CutToUtf16(name, kSheetNameMax);
        while (!name.empty() && name.back() == U'\'')
            name.pop_back();
        if (name.empty())
            name = Decode("Sheet" + std::to_string(k + 1));
        std::u32string unique = name;
        for (int n = 2; std::find(taken.begin(), taken.end(), Folded(unique)) != taken.end(); ++n) {
            const std::u32string suffix = Decode(" (" + std::to_string(n) + ")");
            unique = CutToUtf16(name, kSheetNameMax - suffix.size()) + suffix;
        }
        taken.push_back(Folded(unique));
        names.push_back(Encode(unique));
    }
    return names;
}

namespace {

// Columns as wide as their widest text in characters of the default font; a character of
// the wide scripts (Chinese) takes two.
std::size_t DisplayWidth(std::string_view s)
{
    std::size_t w = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80)
            ++w;
        else if ((b & 0xC0) != 0x80)
            w += 2;
    }
    return w;
}

// Two decimals and a point, whatever the locale.
std::string_view NumberText(double v, char (&buf)[64])
{
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

std::string_view CountText(double v, char (&buf)[64])
{
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(v));
    return {buf, static_cast<std::size_t>(r.ptr - buf)};
}

std::size_t CellWidth(const SheetCell& cell)
{
    char buf[64];
    switch (cell.kind) {
    case SheetCell::Empty:
        return 0;
    case SheetCell::Text:
        return DisplayWidth(cell.text);
    case SheetCell::Number:
        return NumberText(cell.number, buf).size();
    case SheetCell::Count:
        return CountText(cell.number, buf).size();
    case SheetCell::Date:
        return 10;
    }
    return 0;
}

// Rows between looks at the cancel hook and reports of progress.
constexpr std::size_t kHookEvery = 512;

class Progress {
public:
    Progress(const SheetHooks& hooks, std::size_t total) : m_hooks(hooks), m_total(total) {}
    // False when the export is to give up.
    bool Step()
    {
        if (++m_done % kHookEvery != 0 && m_done != m_total)
            return true;
        if (m_hooks.progress)
            m_hooks.progress(static_cast<int>(m_done), static_cast<int>(m_total));
        return !(m_hooks.cancelled && m_hooks.cancelled());
    }

private:
    const SheetHooks& m_hooks;
    std::size_t m_total;
    std::size_t m_done = 0;
};

std::size_t TotalRows(const SheetBook& book, bool withSummary)
{
    std::size_t n = withSummary ? book.summary.rows : 0;
    for (const SheetTable& t : book.tables)
        n += t.rows;
    return n;
}

struct WorkbookFree {
    void operator()(lxw_workbook* wb) const { lxw_workbook_free(wb); }
};

class XlsxWriter {
public:
    XlsxWriter(const SheetBook& book, const SheetHooks& hooks, std::string& problem)
        : m_book(book), m_progress(hooks, TotalRows(book, true)), m_problem(problem)
    {
    }

    // 0, or the errno of the failure (ECANCELED when given up).
    int Write(const std::string& path)
    {
        // Rows go to the file as they are made instead of staying in memory to the end.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        std::unique_ptr<lxw_workbook, WorkbookFree> wb(workbook_new_opt(path.c_str(), &options));
        if (!wb)
            return ENOMEM;
        m_header = workbook_add_format(wb.get());
        format_set_bold(m_header);
        format_set_bottom(m_header, LXW_BORDER_THIN);
        m_number = workbook_add_format(wb.get());
        format_set_num_format(m_number, "0.00");
        m_date = workbook_add_format(wb.get());
        format_set_num_format(m_date, "yyyy-mm-dd");

        std::vector<std::string> wished = {"Summary"};
        for (const SheetTable& t : m_book.tables)
            wished.push_back(t.name);
        const std::vector<std::string> names = SheetNames(wished);
        if (const int error = WriteSheet(*wb, names[0], m_book.summary))
            return error;
        for (std::size_t k = 0; k < m_book.tables.size(); ++k)
            if (const int error = WriteSheet(*wb, names[k + 1], m_book.tables[k]))
                return error;

        errno = 0;
        const lxw_error closed = workbook_close(wb.release()); // frees it, also on failure
        if (closed == LXW_NO_ERROR)
            return 0;
        const int systemError = errno;
        m_problem = lxw_strerror(closed);
        return systemError ? systemError : EIO;
    }

private:
    int WriteSheet(lxw_workbook& wb, const std::string& name, const SheetTable& table)
    {
        if (table.rows > kMaxSheetRows) {
            m_problem = "a sheet holds at most " + std::to_string(kMaxSheetRows) + " rows";
            return EFBIG;
        }
        lxw_worksheet* ws = workbook_add_worksheet(&wb, name.c_str());
        if (!ws) {
            m_problem = "the sheet name '" + name + "' was refused";
            return EINVAL;
        }
        const auto columns = static_cast<lxw_col_t>(table.titles.size());
        std::vector<std::size_t> widths(columns);
        for (lxw_col_t c = 0; c < columns; ++c) {
            worksheet_write_string(ws, 0, c, table.titles[c].c_str(), m_header);
            widths[c] = DisplayWidth(table.titles[c]);
        }
        worksheet_freeze_panes(ws, 1, 0);

        std::vector<SheetCell> cells(columns);
        for (std::size_t r = 0; r < table.rows; ++r) {
            table.fill(r, cells);
            const auto row = static_cast<lxw_row_t>(r + 1);
            for (lxw_col_t c = 0; c < columns; ++c) {
                const SheetCell& cell = cells[c];
                lxw_error e = LXW_NO_ERROR;
                switch (cell.kind) {
                case SheetCell::Empty:
                    break;
                case SheetCell::Text:
                    e = worksheet_write_string(ws, row, c, cell.text.c_str(), nullptr);
                    break;
                case SheetCell::Number:
                    e = worksheet_write_number(ws, row, c, cell.number, m_number);
                    break;
                case SheetCell::Count:
                    e = worksheet_write_number(ws, row, c, cell.number, nullptr);
                    break;
                case SheetCell::Date: {
                    lxw_datetime d{cell.date.year, cell.date.month, cell.date.day, 0, 0, 0};
                    e = worksheet_write_datetime(ws, row, c, &d, m_date);
                    break;
                }
                }
                if (e != LXW_NO_ERROR) {
                    m_problem = lxw_strerror(e);
                    return EIO;
                }
                widths[c] = std::max(widths[c], CellWidth(cell));
            }
            if (!m_progress.Step())
                return ECANCELED;
        }
        for (lxw_col_t c = 0; c < columns; ++c)
            worksheet_set_column(
                ws, c, c, static_cast<double>(std::min<std::size_t>(widths[c], 60) + 2), nullptr);
        return 0;
    }

    const SheetBook& m_book;
    Progress m_progress;
    std::string& m_problem;
    lxw_format* m_header = nullptr;
    lxw_format* m_number = nullptr;
    lxw_format* m_date = nullptr;
};

// RFC 4180: a field holding a comma, a quote or a line break is quoted, its quotes doubled.
void AppendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (char c : field) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

void AppendCsvCell(std::string& out, const SheetCell& cell)
{
    char buf[64];
    switch (cell.kind) {
    case SheetCell::Empty:
        break;
    case SheetCell::Text:
        AppendCsvField(out, cell.text);
        break;
    case SheetCell::Number:
        out.append(NumberText(cell.number, buf));
        break;
    case SheetCell::Count:
        out.append(CountText(cell.number, buf));
        break;
    case SheetCell::Date:
        out.append(IsoDateText(cell.date));
        break;
    }
}

int WriteCsv(std::FILE* f, const SheetBook& book, const SheetHooks& hooks)
{
    Progress progress(hooks, TotalRows(book, false));
    // The byte-order mark tells spreadsheet programs the text is UTF-8, so Chinese reads right.
    std::string out = "\xEF\xBB\xBF";
    auto flush = [&](std::size_t atLeast) {
        if (out.size() < atLeast)
            return 0;
        const bool whole = std::fwrite(out.data(), 1, out.size(), f) == out.size();
        out.clear();
        return whole ? 0 : errno ? errno : EIO;
    };
    const bool labelled = !book.csvLabelTitle.empty();
    // One line: the label (when the book has that column), then `n` fields that `field` adds.
    auto line = [&](const std::string& label, std::size_t n, const auto& field) {
        if (labelled) {
            AppendCsvField(out, label);
            out.push_back(',');
        }
        for (std::size_t c = 0; c < n; ++c) {
            if (c)
                out.push_back(',');
            field(c);
        }
        out += "\r\n";
    };
    const std::vector<std::string>& titles =
        book.tables.empty() ? std::vector<std::string>{} : book.tables.front().titles;
    line(book.csvLabelTitle, titles.size(), [&](std::size_t c) { AppendCsvField(out, titles[c]); });
    for (const SheetTable& table : book.tables) {
        std::vector<SheetCell> cells(table.titles.size());
        for (std::size_t r = 0; r < table.rows; ++r) {
            table.fill(r, cells);
            line(table.name, cells.size(), [&](std::size_t c) { AppendCsvCell(out, cells[c]); });
            if (const int error = flush(1 << 16))
                return error;
            if (!progress.Step())
                return ECANCELED;
        }
    }
    if (const int error = flush(0))
        return error;
    return std::ferror(f) ? (errno ? errno : EIO) : 0;
}

} // namespace

ExportResult WriteSpreadsheet(const std::string& path, SpreadsheetFormat format,
                              const SheetBook& book, const SheetHooks& hooks)
{
    ExportResult result;
    result.write =
        filebytes::WriteFileWholeWith(path, [&](std::FILE* f, const std::string& tempPath) {
            if (format == SpreadsheetFormat::Csv)
                return WriteCsv(f, book, hooks);
            // The library opens the file by its name; `f` stays open for the flush to disk.
            return XlsxWriter(book, hooks, result.problem).Write(tempPath);
        });
    if (!result.write && result.write.failedAt == filebytes::WriteResult::Step::Write &&
        result.write.error == ECANCELED)
        result.cancelled = true;
    return result;
}

std::string ExportFailureText(const std::string& path, const ExportResult& result)
{
    if (result || result.cancelled)
        return {};
    std::string text = filebytes::WriteFailureText(path, result.write);
    if (!result.problem.empty()) {
        // "Can't write x.xlsx: <why>. ..." with the library's words for why.
        const std::string systems = filebytes::SystemErrorText(result.write.error);
        const std::size_t at = text.find(systems);
        if (at != std::string::npos)
            text.replace(at, systems.size(), result.problem);
    }
    return text;
}

} // namespace mrv
