// Arbitrary bytes as a TIFF file, through the bundler into the PDF generator. The first
// byte chooses whether the output is encrypted.
#include "core/exception.BaseException.h"
#include "core/io.MemoryStream.h"
#include "lib/graphics.PdfOutputGenerator.h"
#include "lib/graphics.TiffBundler.h"

#include <cstddef>
#include <cstdint>

using namespace velmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize < 1 || nSize > 65536)
        return 0;
    core::io::MemoryStream input;
    input.writeData(pData, 1, static_cast<std::int32_t>(nSize - 1));
    input.seek(0, core::io::IStream::seekBegin);
    core::io::MemoryStream output;
    try {
        lib::graphics::PdfOutputGenerator generator;
        generator.setDocumentInfo("", "", pData[0] & 2 ? 1.0 : 0);
        if (pData[0] & 1)
            generator.secureOutput(reinterpret_cast<const unsigned char*>("5038271946610427"), 16, nullptr, 0,
                                   reinterpret_cast<const unsigned char*>("user"), 4, -4, pData[0] & 4);
        lib::graphics::TiffBundler bundler;
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
