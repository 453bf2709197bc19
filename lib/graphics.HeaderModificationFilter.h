#ifndef VELMO_LIB_GRAPHICS_HEADERMODIFICATIONFILTER_H
#define VELMO_LIB_GRAPHICS_HEADERMODIFICATIONFILTER_H

#include "core/collections.SimpleTypeArray.h"
#include "lib/graphics.IFilter.h"
#include "lib/graphics.WriteOnlyStream.h"

namespace velmo::lib::graphics {

// Sets RATIONAL tags, such as the resolution, without touching the image data.
class HeaderModificationFilter : public WriteOnlyStream<IFilter> {
public:
    // Appends one tag to set; applied in the order given.
    void setRationalTag(std::int32_t nTag, std::int32_t nNumerator, std::int32_t nDenominator);
    void setXResolution(std::int32_t nNumerator, std::int32_t nDenominator);
    void setYResolution(std::int32_t nNumerator, std::int32_t nDenominator);

    void setOutputStream(core::io::IStream*) override {}
    // Each tag becomes one RATIONAL value, whatever type it had.
    void modifyHeader(TiffPageImage& page) override;
    void startPage() override {}
    void endPage() override {}
    bool isStreamFilter() override { return false; }
    void writeData(const unsigned char*, std::int32_t, std::int32_t) override {}

private:
    // (tag, numerator, denominator) triples.
    core::collections::SimpleTypeArray<std::int32_t> m_triples;
};

}

#endif
