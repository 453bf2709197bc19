// Arbitrary bytes as a page file that a fixed one-page TIFF is appended to; the first byte
// chooses whether the page is copied or recoded. Whatever the file holds, the chain walk
// ends, and an append that goes through changes nothing of the file but the one field that
// links the new page, which it points past the old end.
#include "core/exception.BaseException.h"
#include "core/io.MemoryStream.h"
#include "lib/graphics.LittleEndian.h"
#include "lib/graphics.TiffBundler.h"
#include "lib/graphics.TiffOutputGenerator.h"
#include "lib/graphics.TiffUtil.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace velmo;
using namespace velmo::lib::graphics;

namespace {

// A 16 x 2 uncompressed page: the strip at 8, then its IFD.
const unsigned char kPage[] = {
    'I', 'I', 42, 0, 12, 0, 0, 0, 0xFF, 0xFF, 0, 0, 8, 0,
    0x00, 0x01, 4, 0, 1, 0, 0, 0, 16, 0, 0, 0,  // ImageWidth 16
    0x01, 0x01, 4, 0, 1, 0, 0, 0, 2, 0, 0, 0,   // ImageLength 2
    0x02, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0,   // BitsPerSample 1
    0x03, 0x01, 3, 0, 1, 0, 0, 0, 1, 0, 0, 0,   // Compression none
    0x06, 0x01, 3, 0, 1, 0, 0, 0, 0, 0, 0, 0,   // PhotometricInterpretation min-is-white
    0x11, 0x01, 4, 0, 1, 0, 0, 0, 8, 0, 0, 0,   // StripOffsets 8
    0x16, 0x01, 4, 0, 1, 0, 0, 0, 2, 0, 0, 0,   // RowsPerStrip 2
    0x17, 0x01, 4, 0, 1, 0, 0, 0, 4, 0, 0, 0,   // StripByteCounts 4
    0, 0, 0, 0,
};

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 1 || nSize > 65536)
        return 0;
    const std::int32_t nOldLength = static_cast<std::int32_t>(nSize - 1);
    core::io::MemoryStream file;
    file.writeData(pData, 1, nOldLength);
    core::io::MemoryStream page;
    page.writeData(kPage, 0, sizeof kPage);
    page.seek(0, core::io::IStream::seekBegin);
    std::uint32_t nLink = 0;
    try {
        nLink = TiffUtil::findChainEnd(&file).nLinkPosition;
        TiffOutputGenerator generator;
        generator.configure(pData[0] & 1 ? 4 : 0, false, true, 32768);
        TiffBundler bundler;
        bundler.setOutputGenerator(&generator);
        bundler.setOutputStream(&file, true, 4096);
        bundler.start(true);
        bundler.setInputStream(&page);
        bundler.generate();
        bundler.finish();
    } catch (const core::exception::BaseException&) {
        return 0;
    }
    const unsigned char* pAfter = file.getData();
    const std::int32_t nNewIfd = LittleEndian::toInt32(pAfter, static_cast<std::int32_t>(nLink), 4);
    const bool bUntouched = std::memcmp(pAfter, pData + 1, nLink) == 0
        && std::memcmp(pAfter + nLink + 4, pData + 1 + nLink + 4, static_cast<std::size_t>(nOldLength) - nLink - 4) == 0;
    if (!bUntouched || nNewIfd < nOldLength || nNewIfd >= file.getSize())
        std::abort();
    return 0;
}
