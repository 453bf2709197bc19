#include "codec/codec.Palette.h"

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

}
