#ifndef VELMO_LIB_GRAPHICS_GROUP3ENCODERSTREAM_H
#define VELMO_LIB_GRAPHICS_GROUP3ENCODERSTREAM_H

#include "lib/graphics.BitPackingStream.h"
#include "lib/graphics.RunStream.h"

namespace velmo::lib::graphics {

// Codes the run stream written into it one-dimensionally (ITU-T T.4 modified Huffman):
// TIFF compression 2 with byte-aligned rows and no EOL, or compression 3 with an EOL
// before the first row and after every row, each EOL ending on a byte boundary when
// byte-aligning.
class Group3EncoderStream : public BitPackingStream {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth, std::int32_t nImageLength, std::int32_t nRowsPerStrip,
                            bool bEndOfLine, bool bByteAlign);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;

private:
    void writeRun(std::int32_t nRun);
    void endRow();
    void writeEndOfLine();

    bool m_bEndOfLine = false;
    bool m_bByteAlign = false;
    bool m_bLeadingEndOfLine = false;
    bool m_bWhite = true;
    std::int32_t m_nPixels = 0;
    std::int32_t m_nWidth = 0;
    std::int32_t m_nImageLength = 0;
    std::int32_t m_nRowsPerStrip = 0;
    std::int32_t m_nLinesCoded = 0;
    RunValueReader m_reader;
};

}

#endif
