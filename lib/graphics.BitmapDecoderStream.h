#ifndef VELMO_LIB_GRAPHICS_BITMAPDECODERSTREAM_H
#define VELMO_LIB_GRAPHICS_BITMAPDECODERSTREAM_H

#include "core/collections.SimpleTypeArray.h"
#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Turns rows of a 1-bit bitmap (most significant bit first, set bits black, each row
// padded to a whole byte) into the run stream. The pad bits past the width are ignored.
// A downstream stream that takes lines as changing elements gets them so.
class BitmapDecoderStream : public WriteOnlyStream<core::io::IStream> {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth, bool bReverseBits);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;

private:
    void decodeRow();

    std::int32_t m_nWidth = 0;
    bool m_bReverseBits = false;
    std::int32_t m_nRowBytes = 0;
    // The current row, gathered across writes, with 8 spare bytes so that the search
    // may read whole words past its end.
    core::collections::SimpleTypeArray<unsigned char> m_row;
    std::int32_t m_nRowFill = 0;
    RunLineWriter m_out;
    // The downstream stream when it takes lines as changing elements, else null, and the
    // row's elements for it.
    IChangingElementSink* m_pElementSink = nullptr;
    core::collections::SimpleTypeArray<std::int32_t> m_elements;
};

}

#endif
