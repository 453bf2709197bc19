#ifndef VELMO_LIB_GRAPHICS_BITMAPENCODERSTREAM_H
#define VELMO_LIB_GRAPHICS_BITMAPENCODERSTREAM_H

#include "lib/graphics.BitPackingStream.h"
#include "lib/graphics.RunStream.h"

namespace velmo::lib::graphics {

// Turns the run stream into rows of a 1-bit bitmap, each row exactly (width + 7) / 8
// bytes: pixels past the width are dropped and a short row is completed with white.
class BitmapEncoderStream : public BitPackingStream {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;

private:
    RunValueReader m_reader;
    bool m_bWhite = true;
    std::int32_t m_nPixels = 0;
    std::int32_t m_nWidth = 0;
};

}

#endif
