// Input: width (2 bytes, 1 to 4096), image length (1 byte), rows per strip (1 byte),
// bit order (1 byte), then the coded data.
#include "RunStreamChecker.h"
#include "core/exception.BaseException.h"
#include "lib/graphics.Group4DecoderStream.h"

#include <cstddef>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 5)
        return 0;
    std::int32_t nWidth = ((pData[0] | (pData[1] << 8)) % 4096) + 1;
    std::int32_t nImageLength = pData[2];
    std::int32_t nRowsPerStrip = pData[3];
    RunStreamChecker checker(nWidth);
    velmo::lib::graphics::Group4DecoderStream decoder;
    decoder.initialise(&checker, nWidth, nImageLength, nRowsPerStrip, pData[4] & 1);
    try {
        // Two writes, so that the decoder resumes in the middle of a code.
        std::int32_t nCount = static_cast<std::int32_t>(nSize - 5);
        decoder.writeData(pData, 5, nCount / 2);
        decoder.writeData(pData, 5 + nCount / 2, nCount - nCount / 2);
        decoder.flush();
    } catch (const velmo::core::exception::BaseException& e) {
        if (e.getInternalCode() != velmo::core::exception::tifGroup4UnsupportedCodeword)
            std::abort();
    }
    if (!checker.isAtLineStart() || checker.getLines() > nImageLength)
        std::abort();
    return 0;
}
