#include "BenchPages.h"

#include "lib/TestStreams.h"
#include "lib/graphics.BitmapDecoderStream.h"
#include "lib/graphics.BitmapEncoderStream.h"
#include "lib/graphics.Group4DecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"

namespace velmo::bench {

using tests::BilevelPage;
using tests::VectorStream;

namespace {

BilevelPage fixturePage()
{
    tests::TiffImage image = tests::readTiff(VELMO_SOURCE_DIR "/tests/lib/data/text-a4-200dpi.tif");
    VectorStream rows;
    bitmapOfGroup4(image.data, image.nWidth, image.nHeight, rows);
    BilevelPage page(image.nWidth, image.nHeight);
    page.rows = rows.bytes();
    return page;
}

}

BilevelPage textPage1728()
{
    BilevelPage text = fixturePage();
    return text.window((text.nWidth - 1728) / 2, 60, 1728, 2200);
}

BilevelPage textPage5100()
{
    BilevelPage text = fixturePage();
    BilevelPage page(5100, 6600);
    for (std::int32_t y = 0; y < page.nHeight; ++y) {
        std::int32_t sy = y / 3 + 60;
        for (std::int32_t x = 0; x < page.nWidth; ++x) {
            std::int32_t sx = x / 3 - 25;
            if (sx >= 0 && sx < text.nWidth && sy < text.nHeight && text.isBlack(sx, sy))
                page.setBlack(x, y, true);
        }
    }
    return page;
}

std::vector<unsigned char> group4Of(const BilevelPage& page)
{
    VectorStream coded;
    group4OfBitmap(page.rows, page.nWidth, page.nHeight, coded);
    return coded.bytes();
}

void group4OfBitmap(const std::vector<unsigned char>& rows, std::int32_t nWidth, std::int32_t nHeight, core::io::IStream& out)
{
    lib::graphics::Group4EncoderStream encoder;
    encoder.initialise(&out, nWidth, nHeight, nHeight);
    lib::graphics::BitmapDecoderStream bitmap;
    bitmap.initialise(&encoder, nWidth, false);
    bitmap.writeData(rows.data(), 0, static_cast<std::int32_t>(rows.size()));
    encoder.flush();
}

void bitmapOfGroup4(const std::vector<unsigned char>& coded, std::int32_t nWidth, std::int32_t nHeight, core::io::IStream& out)
{
    lib::graphics::BitmapEncoderStream bitmap;
    bitmap.initialise(&out, nWidth);
    lib::graphics::Group4DecoderStream decoder;
    decoder.initialise(&bitmap, nWidth, nHeight, nHeight, false);
    decoder.writeData(coded.data(), 0, static_cast<std::int32_t>(coded.size()));
    decoder.flush();
}

}
