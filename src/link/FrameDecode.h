#pragma once
// A frame taken apart into its layers (carrier wrapper, relay header, Modbus frame), each
// field named, its bytes, what they mean and whether they check out. Takes any bytes: a frame
// cut short ends in a "missing" field, bytes beyond it are named as extra.
#include "link/LinkTrace.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mrv {

enum class FieldCheck : std::uint8_t {
    Info, // nothing to check
    Ok,
    Bad,
};

struct FrameField {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::string value; // what the bytes mean
    FieldCheck check = FieldCheck::Info;
    std::string note; // for Bad: what is wrong, or what was expected
};

struct FrameLayer {
    std::string name; // "Carrier", "Relay", "Modbus", "Noise", "Echo", "Timing"
    std::vector<FrameField> fields;
};

using DecodedFrame = std::vector<FrameLayer>;

// A request as built under these settings.
DecodedFrame DecodeRequest(std::span<const std::uint8_t> bytes, const LinkSettings& settings);

// What came back in a transaction, against what it asked: noise before the reply, an echo of
// the request, the reply's layers, and a "Timing" layer with each burst.
DecodedFrame DecodeReply(const TransactionTrace& trace);

// Both as indented text lines (each ending in '\n'), below a frame's trace line:
//          Modbus   address     01           1                         ok
std::string DecodedText(const DecodedFrame& frame);

// The two trace lines of a transaction, each followed by its decoded layers.
std::string TraceLinesWithLayers(const TransactionTrace& trace, std::uint64_t runStartUs);

// "ok", "wrong: <note>" or "" for a field.
std::string CheckText(const FrameField& field);

} // namespace mrv
