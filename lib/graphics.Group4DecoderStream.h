#ifndef VELMO_LIB_GRAPHICS_GROUP4DECODERSTREAM_H
#define VELMO_LIB_GRAPHICS_GROUP4DECODERSTREAM_H

#include "lib/graphics.ChangingElementLines.h"
#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Decodes CCITT T.6 (Group 4) data written into it and writes the lines as a run stream
// to the downstream stream, or as changing elements to one that takes them. Strips
// follow each other, each starting on a byte boundary from an all-white reference line;
// data past the image length is ignored. Codes that would put a changing element at or
// left of a0 or past the line width, and codes that T.6 does not allow where they
// stand, raise tifGroup4UnsupportedCodeword; so no input
// makes a line hold more than width + 5 elements.
class Group4DecoderStream : public WriteOnlyStream<core::io::IStream> {
public:
    virtual void initialise(core::io::IStream* pOut, std::int32_t nWidth, std::int32_t nImageLength, std::int32_t nRowsPerStrip,
                            bool bReverseBits);

    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;
    // Decodes what is left of the data (a last code need not be followed by 13 bits),
    // then flushes the downstream stream.
    void flush() override;

private:
    bool isFinished() const { return m_nLinesDecoded >= m_nImageLength; }
    // Decodes codes while 13 bits are at hand (with bDraining, while any bit that is not
    // a trailing 0 is left).
    void decode(const unsigned char* pData, const unsigned char* pEnd, bool bDraining);
    void startStrip();
    // Writes the line of nCount elements and makes it the reference line.
    void endLine(std::int32_t nCount);
    [[noreturn]] static void raiseUnsupportedCode();

    std::uint64_t m_nAccumulator = 0;  // unread bits, left-aligned
    std::int32_t m_nBitCount = 0;
    std::int32_t m_nRunEnd = 0;        // where the run being decoded in horizontal mode ends so far
    std::int32_t m_nA0 = -1;            // -1: the imaginary element before the line
    std::int32_t m_nLinesDecoded = 0;
    std::int32_t m_nNextStripLine = 0;
    // Runs still to come in horizontal mode, or kStripBoundary before a strip's first line.
    std::int32_t m_nHorizontalRuns = 0;
    static constexpr std::int32_t kStripBoundary = -1;
    std::int32_t m_nB1 = 1;              // where the next b1 search starts

    std::int32_t m_nWidth = 0;
    std::int32_t m_nImageLength = 0;
    std::int32_t m_nRowsPerStrip = 0;
    bool m_bReverseBits = false;

    // Changing elements as the encoder keeps them; the colour of the run at a0 is white
    // while the current line holds an odd number of elements.
    ChangingElementLines m_lines;
    std::int32_t m_nCurrentCount = 1;

    RunLineWriter m_out;
    // The downstream stream when it takes lines as changing elements, else null.
    IChangingElementSink* m_pElementSink = nullptr;
};

}

#endif
