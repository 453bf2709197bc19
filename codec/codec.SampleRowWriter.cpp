#include "codec/codec.SampleRowWriter.h"

#include "codec/codec.SampleRowReader.h"

#include <cstring>

namespace velmo::codec {

SampleRowWriter::SampleRowWriter(const DibView& image)
    : m_image(image), m_samples(static_cast<std::size_t>(image.getWidth()) * SampleRowReader::getChannelsOf(image.getBitCount()))
{
}

void SampleRowWriter::putRow(std::int32_t nTopDownRow)
{
    unsigned char* pRow = m_image.getRow(nTopDownRow);
    if (m_image.getBitCount() == 1) {
        for (unsigned char& sample : m_samples)
            sample = sample >= 128;
        packBits(m_samples.data(), m_image.getWidth(), pRow, m_image.getStride());
        return;
    }
    std::memcpy(pRow, m_samples.data(), m_samples.size());
    std::memset(pRow + m_samples.size(), 0, m_image.getStride() - m_samples.size());
}

void packBits(const unsigned char* pFlags, std::int32_t nWidth, unsigned char* pRow, std::size_t nStride)
{
    std::int32_t x = 0;
    std::size_t nByte = 0;
    for (; x + 8 <= nWidth; x += 8, ++nByte) {
        const unsigned char* p = pFlags + x;
        pRow[nByte] = static_cast<unsigned char>((p[0] != 0) << 7 | (p[1] != 0) << 6 | (p[2] != 0) << 5 | (p[3] != 0) << 4 |
                                                 (p[4] != 0) << 3 | (p[5] != 0) << 2 | (p[6] != 0) << 1 | (p[7] != 0));
    }
    if (x < nWidth) {
        unsigned nBits = 0;
        for (std::int32_t i = 0; x + i < nWidth; ++i)
            nBits |= static_cast<unsigned>(pFlags[x + i] != 0) << (7 - i);
        pRow[nByte++] = static_cast<unsigned char>(nBits);
    }
    std::memset(pRow + nByte, 0, nStride - nByte);
}

}
