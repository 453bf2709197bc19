#ifndef VELMO_LIB_GRAPHICS_SCANLINEFILLFILTER_H
#define VELMO_LIB_GRAPHICS_SCANLINEFILLFILTER_H

#include "lib/graphics.IFilter.h"
#include "lib/graphics.RunStream.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Writes every scan line N + 1 times, multiplying the page length and its vertical
// resolution by N + 1 (fine resolution from normal).
class ScanLineFillFilter : public WriteOnlyStream<IFilter> {
public:
    // nCount >= 0, else invalidParameter ("nCount").
    void setFillLineCount(std::int32_t nCount);

    void setOutputStream(core::io::IStream* pOut) override;
    // Needs ImageLength and YResolution (tifTagNotFound).
    void modifyHeader(TiffPageImage& page) override;
    void startPage() override;
    void endPage() override {}
    bool isStreamFilter() override { return m_nFillLineCount > 0; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override;

private:
    std::int32_t m_nFillLineCount = 0;
    RunValueReader m_reader;
    RunLineWriter m_line;
};

}

#endif
