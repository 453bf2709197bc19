// Input: width (2 bytes, 1 to 4096), flags (1 byte: bit 0 byte-aligned rows, bit 1
// reversed bit order), then the coded data. The decoder raises nothing on any data.
#include "RunStreamChecker.h"
#include "lib/graphics.Group3DecoderStream.h"

#include <cstddef>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 3)
        return 0;
    std::int32_t nWidth = ((pData[0] | (pData[1] << 8)) % 4096) + 1;
    RunStreamChecker checker(nWidth);
    velmo::lib::graphics::Group3DecoderStream decoder;
    decoder.initialise(&checker, nWidth, pData[2] & 1, pData[2] & 2);
    std::int32_t nCount = static_cast<std::int32_t>(nSize - 3);
    decoder.writeData(pData, 3, nCount / 2);
    decoder.writeData(pData, 3 + nCount / 2, nCount - nCount / 2);
    decoder.flush();
    return 0;
}
