#ifndef VELMO_LIB_GRAPHICS_CROPPADFILTER_H
#define VELMO_LIB_GRAPHICS_CROPPADFILTER_H

#include "lib/graphics.IFilter.h"
#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Crops or pads pages to a size in pixels. The location of a size says where pixels are
// added or taken: 0 on the left (top), 1 on the right (bottom), 2 evenly on both sides.
// Every line written holds exactly the target width and every page the target height:
// a source line or page that falls short is completed with white.
class CropPadFilter : public WriteOnlyStream<IFilter> {
public:
    // nLocation 0, 1 or 2, else invalidParameter ("nLocation"). A size below 1 keeps the
    // source size.
    void setPixelWidth(std::int32_t nPixels, std::int32_t nLocation);
    void setPixelHeight(std::int32_t nPixels, std::int32_t nLocation);
    // The colour of added pixels: white (default) or black.
    void setPadWhite(bool bPadWhite) { m_bPadWhite = bPadWhite; }

    void setOutputStream(core::io::IStream* pOut) override;
    // Needs ImageWidth and ImageLength (tifTagNotFound); sets them to the target size.
    void modifyHeader(TiffPageImage& page) override;
    void startPage() override;
    void endPage() override;
    bool isStreamFilter() override { return true; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;

private:
    struct Split {
        std::int32_t nBefore;  // pixels added (> 0) or taken (< 0) before the source
        std::int32_t nAfter;
    };
    static Split split(std::int32_t nDifference, std::int32_t nLocation);
    static void checkLocation(std::int32_t nLocation);

    void addRun(std::uint32_t nRun);
    void endSourceLine();
    bool isKeptLine() const { return m_nSourceLine >= m_nFirstKeptLine && m_nSourceLine <= m_nLastKeptLine; }
    void openLine();
    void closeLine();
    void writePadLines(std::int32_t nLines);
    void startOutputLine();
    void endOutputLine();
    // Adds pixels to the output line, joining runs of one colour.
    void emit(bool bWhite, std::int32_t nPixels);

    std::int32_t m_nSourceLine = 0;
    std::int32_t m_nSourceX = 0;
    bool m_bSourceWhite = true;
    bool m_bLineOpen = false;

    std::int32_t m_nFirstKeptLine = 0;
    std::int32_t m_nLastKeptLine = -1;
    std::int32_t m_nTopPad = 0;
    std::int32_t m_nBottomPad = 0;
    std::int32_t m_nLeftCrop = 0;
    std::int32_t m_nLastKeptColumn = -1;
    std::int32_t m_nLeftPad = 0;
    std::int32_t m_nRightPad = 0;
    std::int32_t m_nTargetWidth = 0;

    bool m_bPadWhite = true;
    std::int32_t m_nWidthSetting = -1;
    std::int32_t m_nWidthLocation = 2;
    std::int32_t m_nHeightSetting = -1;
    std::int32_t m_nHeightLocation = 2;

    RunValueReader m_reader;
    // The output line being built.
    bool m_bOutWhite = true;
    std::int32_t m_nOutPending = 0;
    std::int32_t m_nOutPixels = 0;
    RunLineWriter m_out;
};

}

#endif
