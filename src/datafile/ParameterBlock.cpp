#include "datafile/ParameterBlock.h"

#include "datafile/FileBytes.h"
#include "link/Checks.h"

namespace mrv {

std::uint8_t BuildParameterBlock(const DataFileParameters& p, ParameterBlock& out)
{
    out.fill(0);
    out[1] = hhufile::kFormatMark;
    out[2] = 1;
    // The read flags are derived: the unit reads only what these bits ask for.
    out[3] = static_cast<std::uint8_t>((p.readKwh[0] != 0 ? 1 : 0) | (p.readKwh[1] != 0 ? 2 : 0));
    // A password's low byte is never sent to a meter; keep it 0 whatever the profile held.
    filebytes::PutU32(&out[4], p.password & 0xFFFFFF00u);
    filebytes::PutU32(&out[8], p.password2 & 0xFFFFFF00u);
    for (int i = 0; i < 3; ++i)
        out[12 + i] = p.show[i];
    for (int e = 0; e < 8; ++e)
        for (int i = 0; i < 3; ++i)
            out[15 + 3 * e + i] = p.dayTable[e][i];
    filebytes::PutU16(&out[39], static_cast<std::uint32_t>(p.resetDay));
    filebytes::PutU32(&out[41], static_cast<std::uint32_t>(p.k0));
    for (int i = 0; i < 3; ++i)
        out[45 + i] = p.constant[i];
    out[48] = p.compare[0];
    out[49] = p.compare[1];
    out[50] = p.priority;
    out[51] = p.readKwh[2];
    out[52] = p.prescaler;
    out[53] = p.showExt[0];
    out[54] = p.showExt[1];
    out[55] = p.pulseWidth;
    out[56] = p.protectionFlag;
    out[0] = Sum8(out.data(), static_cast<std::ptrdiff_t>(out.size()));
    return out[0];
}

} // namespace mrv
