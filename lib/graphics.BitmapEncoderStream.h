#ifndef VELMO_LIB_GRAPHICS_BITMAPENCODERSTREAM_H
#define VELMO_LIB_GRAPHICS_BITMAPENCODERSTREAM_H

#include "core/collections.SimpleTypeArray.h"
#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Turns the run stream into rows of a 1-bit bitmap, each row exactly (width + 7) / 8
// bytes: pixels past the width are dropped and a short row is completed with white.
// A decoder that holds a line as changing elements may hand it over as such.
class BitmapEncoderStream : public WriteOnlyStream<core::io::IStream>, public IChangingElementSink {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    void writeChangingElements(const std::int32_t* pElements, std::int32_t nCount) override;
    // Writes a row that has begun but not ended, completed with white, then flushes the
    // downstream stream.
    void flush() override;

private:
    void writeRow();

    RunValueReader m_reader;
    bool m_bWhite = true;
    std::int32_t m_nPixels = 0;
    bool m_bRowStarted = false;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nRowBytes = 0;
    // The row, and behind it spare bytes that are never set, so that a short run can be
    // set in one 4-byte window from its first byte.
    static constexpr std::int32_t kSpareBytes = 3;
    core::collections::SimpleTypeArray<unsigned char> m_row;
};

}

#endif
