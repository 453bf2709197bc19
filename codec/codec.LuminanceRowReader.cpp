#include "codec/codec.LuminanceRowReader.h"

#include <cstring>

namespace velmo::codec {

LuminanceRowReader::LuminanceRowReader(const DibView& image, const Palette& palette)
    : m_image(image), m_palette(palette), m_row(static_cast<std::size_t>(image.getWidth()))
{
}

const unsigned char* LuminanceRowReader::getRow(std::int32_t nTopDownRow)
{
    const unsigned char* pRow = m_image.getRow(nTopDownRow);
    const std::int32_t nWidth = m_image.getWidth();
    // A local pointer: stores through it cannot change it, so the loops stay tight.
    unsigned char* const pOut = m_row.data();
    if (m_image.getBitCount() == 24) {
        std::int32_t x = 0;
        for (; x + 4 <= nWidth; x += 4, pRow += 12) {
            // Four pixels of paper white at once: the most common content of a page.
            std::uint32_t nWords[3];
            std::memcpy(nWords, pRow, sizeof nWords);
            if ((nWords[0] & nWords[1] & nWords[2]) == 0xFFFFFFFFu) {
                std::memset(pOut + x, 255, 4);
                continue;
            }
            for (int i = 0; i < 4; ++i)
                pOut[x + i] = computeLuminance(pRow[3 * i + 2], pRow[3 * i + 1], pRow[3 * i]);
        }
        for (; x < nWidth; ++x, pRow += 3)
            pOut[x] = computeLuminance(pRow[2], pRow[1], pRow[0]);
    } else {
        const std::array<unsigned char, 256>& luminances = m_palette.getLuminances();
        for (std::int32_t x = 0; x < nWidth; ++x)
            pOut[x] = luminances[pRow[x]];
    }
    return pOut;
}

}
