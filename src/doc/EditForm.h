#pragma once
// The HHU, Block and meter dialogs as a form below their widgets: the numbers they take with
// their ranges, the texts with their widths and checks, and the rules of the Block constant.
// The dialogs bind their edits by the object names given here and ask the form on OK.
#include "base/Records.h"
#include "doc/FormNumber.h"

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrv {

// Ids run from 1: 0 means "none" to the lists, and a Block with id 0 would be left out of the
// download files. Four digits is what the dialogs and the data files show.
inline constexpr long long kMaxRecordId = 9999;
inline constexpr FormNumberField kHhuIdField{
    "hhuId", QT_TRANSLATE_NOOP("mrv::FormNumberField", "HHU ID"), 1, kMaxRecordId};
inline constexpr FormNumberField kBlockIdField{
    "blockId", QT_TRANSLATE_NOOP("mrv::FormNumberField", "Block ID"), 1, kMaxRecordId};
inline constexpr FormNumberField kMeterCountField{
    "meterCount", QT_TRANSLATE_NOOP("mrv::FormNumberField", "Number(<=100)"), 1, 100};
inline constexpr FormNumberField kMeterBlockIdField{
    "meterBlockId", QT_TRANSLATE_NOOP("mrv::FormNumberField", "Block ID"), 1, kMaxRecordId};
inline constexpr std::array<const FormNumberField*, 4> kEditNumberFields{
    &kHhuIdField, &kBlockIdField, &kMeterCountField, &kMeterBlockIdField};

// "Block ID 0040 is already in use.": a new HHU or Block given the id of one that is there.
std::string IdInUseMessage(const FormNumberField& field, long long id);
// The id a new HHU or Block is offered: the one after the highest in use, or once that is past
// 9999 the lowest free one (the highest + 1 when none is free, which OK then refuses).
std::int32_t ProposedId(const std::vector<std::int32_t>& idsInUse);

// Widths of the texts, in the GBK bytes the tables read back: a text within them is stored
// and shown exactly.
inline constexpr std::size_t kId2PrefixWidth = 6;
inline constexpr std::size_t kMeterIdWidth = 2;

// A text of decimal digits only (an empty one too). The digit filter of the edits lets
// blanks and punctuation through, so the texts are checked again here.
bool IsDecimalDigits(std::string_view text);

// "ID from" of Meter--Add: empty (taken as 00) or one or two digits. The refusal's text
// otherwise.
std::optional<std::string> CheckIdFrom(std::string_view text);
// The number part of "ID2 from": digits only; empty leaves the ID2 the prefix alone.
std::optional<std::string> CheckId2Number(std::string_view text);
// "Meter ID" of Meter--Modify: one or two digits.
std::optional<std::string> CheckMeterId(std::string_view text);

// A Meter ID as the data file writes it: one digit gets its leading zero ("5" is "05"), so
// that one meter number is never stored in two spellings. Other texts stay as they are.
std::string TwoDigitMeterId(std::string_view text);

// What "Query" looks a meter up by: the field the user filled last (1 "Meter ID", 2 "Meter
// ID2"), or the other one when that is empty; none when both are. A Meter ID is looked for as
// it is stored, in two digits.
struct MeterLookup {
    int column = 1; // as FindMeters takes it: 1 meter_num, 2 property_num
    std::string text;
    bool operator==(const MeterLookup&) const = default;
};
std::optional<MeterLookup> QueryLookup(int lastFilled, std::string_view meterId,
                                       std::string_view meterId2);
// What Query says beside its result, so that a field it filled in is never a surprise:
// "Found by Meter ID 05.", or with several matches "Meter 2 of 3 found by Meter ID 05.".
std::string QueryMatchNote(const MeterLookup& lookup, int index, int count);

// The Block constant: a meter constant typed as decimal digits, kept as BCD in the low three
// bytes of `district_para`.
// Left-padded with "0" to six characters (a longer text is cut to its first six); each gives
// one four-bit digit ("0".."9", "A".."F" and "a".."f" their value, anything else 0): "3200"
// gives 0x003200.
std::int32_t ConstantTextToValue(std::string_view text);
// Below 0x100 or from 0x100000 up: 0x100. For values that were read, not typed.
std::int32_t ConstantInRange(std::int32_t value);
// A constant typed into a Block dialog: its digits must give a value in that range, else the
// refusal that names the field and the range.
std::optional<std::string> CheckConstantText(std::string_view text);
// The three low bytes as six lower-case hexadecimal digits: 0x003200 gives "003200".
std::string ConstantValueToText(std::int32_t value);
// The constant of the data-file parameters (three BCD bytes, least significant first).
std::int32_t ConstantValue(const std::array<std::uint8_t, 3>& bytes);

} // namespace mrv
