#ifndef VELMO_LIB_GRAPHICS_BITPACKINGSTREAM_H
#define VELMO_LIB_GRAPHICS_BITPACKINGSTREAM_H

#include "lib/graphics.BitPacker.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// The base of the streams that write bits: position and flush go through the packer, so
// that bits still held count and reach the downstream stream.
class BitPackingStream : public WriteOnlyStream<core::io::IStream> {
public:
    std::uint32_t getPosition() override { return m_pDownstream ? m_bits.getPosition() : 0xFFFFFFFFu; }
    void flush() override
    {
        if (m_pDownstream)
            m_bits.flush();
    }

protected:
    void bindStream(core::io::IStream* pOut)
    {
        m_pDownstream = pOut;
        m_bits.setStream(pOut);
    }

    BitPacker m_bits;
};

}

#endif
