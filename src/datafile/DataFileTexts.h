#pragma once
// What the two data-file dialogs show, as texts: the parameters of a loaded file with the
// constant of one of its Blocks ("View Data File"), and everything one meter record holds
// ("Data Exchange Information"). Log texts end their lines in CR LF, as the meter logs do.
#include "datafile/HhuDataFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace mrv {

struct ParameterTexts {
    std::string periodNum;  // "Three Tariff" / "Two Tariff"
    std::string constant;   // "3200 r/kWh"; empty without a Block
    std::string resetDate;  // "01/00(dd/hh)"
    std::string timeVerify; // "Yes " / "No"
    std::string energy;     // "Energy ", "LM Energy", both, or empty
    std::string baseEnergy; // the 8 hex digits of k0, most significant first
    std::string dayTable;   // one line per period
};

// The texts of a parameter block; `block` is the Block entry whose constant is shown.
ParameterTexts MakeParameterTexts(const ParameterBlock& p, const BlockEntry* block);

// A day table of eight 3-byte periods (tariff, minute, hour; binary): "  1. 08:30  2" per
// period, then an empty line.
std::string DayTableText(const std::uint8_t* table);

// A 20-byte energy block (total, T1..T4; 4-byte BCD, least significant byte first): one line
// per value, " k:  001234.56", "k1:  ...", then an empty line.
std::string EnergyBlockText(const std::uint8_t* block);

struct RecordTexts {
    std::string meterId;  // record bytes 4..9 as 12 hex digits, byte 9 first
    std::string meterId2; // record bytes 6..17
    std::string userAddr; // record bytes 19..68
    std::string log;      // what the record holds, line by line
};

// The texts of record `k` (1-based) of the loaded file; none when no file is loaded or `k`
// is not one of its records.
std::optional<RecordTexts> MakeRecordTexts(const HhuDataFile& file, int k);

// The same for record bytes `r` of `file` (its parameter block and stored-energy area).
RecordTexts MakeRecordTexts(const HhuDataFile& file, const MeterRecordBytes& r);

} // namespace mrv
