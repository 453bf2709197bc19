#ifndef VELMO_LIB_GRAPHICS_GROUP4ENCODERSTREAM_H
#define VELMO_LIB_GRAPHICS_GROUP4ENCODERSTREAM_H

#include "lib/graphics.ChangingElementLines.h"
#include "lib/graphics.BitPackingStream.h"
#include "lib/graphics.CcittTables.h"
#include "lib/graphics.RunStream.h"

namespace velmo::lib::graphics {

// Codes the run stream written into it as CCITT T.6 (Group 4) and writes the code to the
// downstream stream. Each strip ends with EOFB and a byte boundary. A decoder that holds a
// line as changing elements may hand it over as such.
class Group4EncoderStream : public BitPackingStream, public IChangingElementSink {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth, std::int32_t nImageLength, std::int32_t nRowsPerStrip);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    // Raises invalidParameter for more elements than a line of the width holds.
    void writeChangingElements(const std::int32_t* pElements, std::int32_t nCount) override;

private:
    void codeLine();
    void writeRun(std::int32_t nRun, bool bWhite);
    void writeCode(const ccitt::EncodeEntry& code) { m_bits.writeCode(code.nCode, code.nLength); }
    void startLine();

    std::int32_t m_nWidth = 0;
    std::int32_t m_nImageLength = 0;
    std::int32_t m_nRowsPerStrip = 0;

    // Changing elements: [0] is the imaginary white element before the line, then the
    // positions where the colour changes, the first change being to black.
    ChangingElementLines m_lines;
    std::int32_t m_nCurrentCount = 0;

    // Run collection of the current line.
    bool m_bLineStart = true;
    bool m_bMerge = false;
    std::int32_t m_nTotal = 0;

    std::int32_t m_nLinesCoded = 0;
    RunValueReader m_reader;
};

}

#endif
