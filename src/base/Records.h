#pragma once
// Rows of the installation, energy and test tables as the program handles them. Texts are
// UTF-8 here; the widths are the most GBK bytes a text may take when read back from a table
// or written into an HHU data file (see GbkText.h for cutting without splitting a character).
#include <cstdint>
#include <string>
#include <vector>

namespace mrv {

// One row of `land`: a hand-held unit.
struct HhuRecord {
    static constexpr std::size_t kDescriptionWidth = 20;
    std::int32_t land_id = 0;
    std::string description;
};

// One row of `district`: a Block of meters served by one HHU.
struct BlockRecord {
    static constexpr std::size_t kNameWidth = 16;
    std::int32_t district_id = 0;
    std::string district_name;
    std::int32_t land_id = 0;
    std::int32_t district_para = 0; // meter constant, three BCD bytes in the low 24 bits
};

// One row of `meter`.
struct MeterRecord {
    static constexpr std::size_t kNumWidth = 12;
    static constexpr std::size_t kAddressWidth = 50;
    std::string meter_num;     // "Meter ID", two digits, repeats from Block to Block
    std::string property_num;  // "Meter ID2"
    std::string meter_address; // "User Addr"
    std::int32_t district_id = 0;
    // The database's key of the row, which tells apart meters of one Block that share a Meter
    // ID; 0 when the row is not known (a new meter, or a database without row keys).
    std::int64_t row_key = 0;
};

// One imported reading (table `energy`); T4 values are carried but never stored.
struct EnergyRecord {
    static constexpr std::size_t kDateWidth = 9;
    static constexpr std::size_t kMeterNumWidth = 12;
    std::string datestr;
    std::string meter_num;
    double dbk = 0;   // total
    double dbk0 = 0;  // T1
    double dbk1 = 0;  // T2
    double dbk2 = 0;  // T3
    double dbk3 = 0;  // T4, not stored
    double dbkp = 0;  // last month total
    double dbkp0 = 0; // last month T1
    double dbkp1 = 0; // last month T2
    double dbkp2 = 0; // last month T3
    double dbkp3 = 0; // last month T4, not stored
};

// One row of `test`: the result of a meter test, eight texts in column order.
struct TestRecord {
    static constexpr std::size_t kMeterNumWidth = 19;
    static constexpr std::size_t kFieldWidth = 9;
    std::string meterNum;   // 表号
    std::string conclusion; // 结论
    std::string date;       // 日期
    std::string constant;   // 电表常数
    std::string energy;     // 电量
    std::string version;    // 版本
    std::string protection; // 保护及预分频
    std::string cleared;    // 清电量
};

using HhuList = std::vector<HhuRecord>;
using BlockList = std::vector<BlockRecord>;
using MeterList = std::vector<MeterRecord>;

} // namespace mrv
