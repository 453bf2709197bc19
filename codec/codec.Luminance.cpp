#include "codec/codec.Luminance.h"

namespace velmo::codec {

Palette::Palette(const ColourEntry* pEntries)
{
    bool bEmpty = true;
    for (int i = 0; i < 256; ++i) {
        const ColourEntry& entry = pEntries[i];
        bEmpty = bEmpty && !entry.nRed && !entry.nGreen && !entry.nBlue;
        m_bGreyRamp = m_bGreyRamp && entry.nRed == i && entry.nGreen == i && entry.nBlue == i;
        m_luminances[i] = computeLuminance(entry.nRed, entry.nGreen, entry.nBlue);
    }
    if (bEmpty) {
        m_bGreyRamp = true;
        for (int i = 0; i < 256; ++i)
            m_luminances[i] = static_cast<unsigned char>(i);
    }
}

LuminanceRowReader::LuminanceRowReader(const DibView& image, const Palette& palette)
    : m_image(image), m_palette(palette), m_row(static_cast<std::size_t>(image.getWidth()))
{
}

const unsigned char* LuminanceRowReader::getRow(std::int32_t nTopDownRow)
{
    const unsigned char* pRow = m_image.getRow(nTopDownRow);
    const std::int32_t nWidth = m_image.getWidth();
    if (m_image.getBitCount() == 24) {
        for (std::int32_t x = 0; x < nWidth; ++x, pRow += 3)
            m_row[x] = computeLuminance(pRow[2], pRow[1], pRow[0]);
    } else {
        const std::array<unsigned char, 256>& luminances = m_palette.getLuminances();
        for (std::int32_t x = 0; x < nWidth; ++x)
            m_row[x] = luminances[pRow[x]];
    }
    return m_row.data();
}

}
