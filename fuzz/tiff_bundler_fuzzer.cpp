// Arbitrary bytes as a TIFF file, through the bundler into the TIFF writer. The first byte
// chooses the output compression, forced recoding and the filters.
#include "core/exception.BaseException.h"
#include "core/io.MemoryStream.h"
#include "lib/graphics.CropPadFilter.h"
#include "lib/graphics.HeaderModificationFilter.h"
#include "lib/graphics.ScanLineFillFilter.h"
#include "lib/graphics.TiffBundler.h"
#include "lib/graphics.TiffOutputGenerator.h"

#include <cstddef>
#include <cstdint>

using namespace velmo;
using namespace velmo::lib::graphics;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 1 || nSize > 65536)
        return 0;
    const std::int32_t compressions[8] = {0, 1, 2, 3, 4, -1, 0, 4};
    std::uint8_t nOptions = pData[0];
    core::io::MemoryStream input;
    input.writeData(pData, 1, static_cast<std::int32_t>(nSize - 1));
    input.seek(0, core::io::IStream::seekBegin);
    core::io::MemoryStream output;
    try {
        TiffOutputGenerator generator;
        generator.configure(compressions[nOptions & 7], nOptions & 8, true, 32768);
        HeaderModificationFilter resolution;
        ScanLineFillFilter fill;
        CropPadFilter cropPad;
        if (nOptions & 16) {
            resolution.setXResolution(204, 1);
            resolution.setYResolution(98, 1);
            generator.addFilter(&resolution);
        }
        if (nOptions & 32) {
            fill.setFillLineCount(1);
            generator.addFilter(&fill);
        }
        if (nOptions & 64) {
            cropPad.setPadWhite(nOptions & 128);
            cropPad.setPixelWidth(40 + (nOptions & 7) * 13, 2);
            cropPad.setPixelHeight(30, nOptions & 1 ? 1 : 2);
            generator.addFilter(&cropPad);
        }
        TiffBundler bundler;
        bundler.setOutputGenerator(&generator);
        bundler.setOutputStream(&output, true, 4096);
        bundler.start(false);
        bundler.setInputStream(&input);
        bundler.generate();
        bundler.finish();
    } catch (const core::exception::BaseException&) {
    }
    return 0;
}
