#include "codec/codec.SampleRowReader.h"

namespace velmo::codec {

SampleRowReader::SampleRowReader(const DibView& image)
    : m_image(image), m_nChannels(getChannelsOf(image.getBitCount()))
{
    if (image.getBitCount() == 1)
        m_spread.resize(static_cast<std::size_t>(image.getWidth()));
}

const unsigned char* SampleRowReader::getRow(std::int32_t nTopDownRow)
{
    const unsigned char* pRow = m_image.getRow(nTopDownRow);
    if (m_image.getBitCount() != 1)
        return pRow;
    unsigned char* const pSpread = m_spread.data();
    for (std::int32_t x = 0; x < m_image.getWidth(); ++x)
        pSpread[x] = (pRow[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
    return pSpread;
}

}
