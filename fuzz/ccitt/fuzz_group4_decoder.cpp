// Input: width (2 bytes, 1 to 4096), image length (1 byte), rows per strip (1 byte),
// bit order (1 byte), then the coded data.
// The decoder writes runs to a checker of the run stream. It also hands its lines as
// changing elements to a bitmap writer and to a Group 4 encoder; both must give the same
// bytes as when they are fed the runs.
#include "RunStreamChecker.h"
#include "core/exception.BaseException.h"
#include "lib/graphics.BitmapEncoderStream.h"
#include "lib/graphics.Group4DecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"

#include <cstddef>
#include <cstdlib>

namespace {

// Decodes the data into pOut in two writes, so that the decoder resumes in the middle of
// a code; false when the decoder refused it.
bool decode(velmo::core::io::IStream* pOut, std::int32_t nWidth, const std::uint8_t* pData, std::size_t nSize)
{
    velmo::lib::graphics::Group4DecoderStream decoder;
    decoder.initialise(pOut, nWidth, pData[2], pData[3], pData[4] & 1);
    try {
        std::int32_t nCount = static_cast<std::int32_t>(nSize - 5);
        decoder.writeData(pData, 5, nCount / 2);
        decoder.writeData(pData, 5 + nCount / 2, nCount - nCount / 2);
        decoder.flush();
    } catch (const velmo::core::exception::BaseException& e) {
        if (e.getInternalCode() != velmo::core::exception::tifGroup4UnsupportedCodeword)
            std::abort();
        return false;
    }
    return true;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 5)
        return 0;
    std::int32_t nWidth = ((pData[0] | (pData[1] << 8)) % 4096) + 1;
    std::int32_t nImageLength = pData[2];

    ByteSink rowsOfRuns, rowsOfElements, codeOfRuns, codeOfElements;
    velmo::lib::graphics::BitmapEncoderStream bitmapOfRuns, bitmapOfElements;
    bitmapOfRuns.initialise(&rowsOfRuns, nWidth);
    bitmapOfElements.initialise(&rowsOfElements, nWidth);
    velmo::lib::graphics::Group4EncoderStream encoderOfRuns, encoderOfElements;
    encoderOfRuns.initialise(&codeOfRuns, nWidth, nImageLength, nImageLength);
    encoderOfElements.initialise(&codeOfElements, nWidth, nImageLength, nImageLength);

    RunStreamChecker checker(nWidth, {&bitmapOfRuns, &encoderOfRuns});
    bool bDecoded = decode(&checker, nWidth, pData, nSize);
    if (!checker.isAtLineStart() || checker.getLines() > nImageLength)
        std::abort();
    if (decode(&bitmapOfElements, nWidth, pData, nSize) != bDecoded || decode(&encoderOfElements, nWidth, pData, nSize) != bDecoded)
        std::abort();
    if (rowsOfElements.bytes != rowsOfRuns.bytes || codeOfElements.bytes != codeOfRuns.bytes)
        std::abort();
    return 0;
}
