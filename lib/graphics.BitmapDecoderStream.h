#ifndef VELMO_LIB_GRAPHICS_BITMAPDECODERSTREAM_H
#define VELMO_LIB_GRAPHICS_BITMAPDECODERSTREAM_H

#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Turns rows of a 1-bit bitmap (most significant bit first, set bits black, each row
// padded to a whole byte) into the run stream. The pad bits past the width are ignored.
class BitmapDecoderStream : public WriteOnlyStream<core::io::IStream> {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth, bool bReverseBits);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;

private:
    void addBits(std::uint32_t nByte, std::int32_t nBits);
    void endRow();

    std::int32_t m_nRun = 0;
    bool m_bWhite = true;
    std::int32_t m_nWidth = 0;
    bool m_bReverseBits = false;
    std::int32_t m_nBitsConsumed = 0;  // on the current row
    RunLineWriter m_out;
};

}

#endif
