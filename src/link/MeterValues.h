#pragma once
// The values that the meter write operations send, held by the document. The document fills
// the copies of its data-file parameters here (constant, pulse settings, reset date, tables)
// so the link layer never depends on the data-file layer.
#include <array>
#include <cstdint>

namespace mrv {

struct MeterValues {
    // Meter password, three bytes least significant first (six hex digits).
    std::array<std::uint8_t, 3> password{};
    // Meter id, six bytes least significant first (twelve hex digits).
    std::array<std::uint8_t, 6> meterId{};
    std::uint16_t carrierAddress = 0;
    std::int32_t trimValue = 0; // low byte sent
    // Binary meter constant (3200, not BCD), sent high byte first.
    std::uint16_t meterConstant = 0;
    std::uint16_t owingPower = 0;
    std::uint8_t meterType = 0; // bits 0..3: multi-tariff, relay, prepaid, load control

    struct Price {
        std::int32_t whole = 0;
        std::int32_t hundredths = 0;
    };
    std::array<Price, 4> prices{};
    // Effective time of the price table, in the order the frame carries it.
    std::uint8_t priceMinute = 0;
    std::uint8_t priceHour = 0;
    std::uint8_t priceDay = 1;
    std::uint8_t priceMonth = 1;
    std::uint8_t priceYear = 7;

    std::uint16_t vNormal = 0, vHigh = 0, vLow = 0;
    std::uint16_t iNormal = 0, iHigh = 0, iLow = 0;
    std::uint16_t owingCurrent = 0, owingTime = 0;
    // Edited with the other limits; no write sends them.
    std::uint16_t noLoadCurrent = 0, noLoadTime = 0;
    std::uint16_t owingTimeToWrite = 0; // days; sent × 24 (hours)
    std::int32_t relayStatus = 0;       // low byte sent; 0x55 trips
    std::int32_t controlOwing = 0;      // low byte sent; 0x55 owing

    // Copies of the data-file parameters the writes send.
    std::uint8_t protectionFlag = 1;
    std::uint8_t prescaler = 10;
    std::uint8_t pulseWidth = 4;
    // BCD day in the high byte, BCD hour in the low byte; sent as binary hour and day.
    std::int32_t resetDay = 256;
    using Table = std::array<std::array<std::uint8_t, 3>, 8>;
    Table dayTable = TariffThreeFromMidnight();  // {tariff, minute, hour}
    Table yearTable = TariffThreeFromMidnight(); // {day table, second number, first number}

    // From the Operate console.
    bool threePhase = false;
    // Flags 0..7: current, voltage, active power, reactive power, power factor, total,
    // import, export energy. The rest are carried for the console and unused by writes.
    std::array<std::uint8_t, 100> showMode = AllShown();
    int newBaudIndex = 2;       // 0..3: 1200, 2400, 4800, 9600 bit/s
    int presentBaudRate = 1200; // the document's port baud rate, sent by WriteAddress
    // In whole cents, as typed: a float would send 654321.09 as 654321.06.
    std::uint32_t moneyCents = 0;
    std::uint32_t moneyWord = 0;
    std::array<std::uint8_t, 40> passwordTable1{}; // one decimal digit per byte
    std::array<std::uint8_t, 40> passwordTable2{};

    static constexpr Table TariffThreeFromMidnight()
    {
        Table t{};
        for (auto& e : t)
            e = {3, 0, 0};
        return t;
    }
    static constexpr std::array<std::uint8_t, 100> AllShown()
    {
        std::array<std::uint8_t, 100> a{};
        for (auto& f : a)
            f = 1;
        return a;
    }
};

} // namespace mrv
