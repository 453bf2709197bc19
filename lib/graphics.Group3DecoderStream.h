#ifndef VELMO_LIB_GRAPHICS_GROUP3DECODERSTREAM_H
#define VELMO_LIB_GRAPHICS_GROUP3DECODERSTREAM_H

#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Decodes one-dimensional T.4 data (TIFF compressions 2 and 3) written into it and writes
// the rows as a run stream downstream. EOL codes and bits that begin no code are skipped
// one at a time; a run that would overflow the row is cut at the width, ending the row.
class Group3DecoderStream : public WriteOnlyStream<core::io::IStream> {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth, bool bByteAlign, bool bReverseBits);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    // Decodes the bits left (a last code need not be followed by 13 bits), then flushes
    // the downstream stream.
    void flush() override;

private:
    void decodeCode();
    void consume(std::int32_t nBits)
    {
        m_nAccumulator <<= nBits;
        m_nBitCount = m_nBitCount > nBits ? m_nBitCount - nBits : 0;
    }

    bool m_bWhite = true;
    bool m_bByteAlign = false;
    bool m_bReverseBits = false;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nPixels = 0;
    std::uint64_t m_nAccumulator = 0;  // unread bits, left-aligned
    std::int32_t m_nBitCount = 0;
    std::int32_t m_nRunTotal = 0;
    std::int32_t m_nLinesDecoded = 0;
    RunLineWriter m_out;
};

}

#endif
