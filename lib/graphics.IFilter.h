#ifndef VELMO_LIB_GRAPHICS_IFILTER_H
#define VELMO_LIB_GRAPHICS_IFILTER_H

#include "core/io.IStream.h"
#include "lib/graphics.TiffPageImage.h"

namespace velmo::lib::graphics {

// A scan-line filter: receives the run stream of a page and forwards a changed one, and
// may change the page's tags before the page is coded.
class IFilter : public core::io::IStream {
public:
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    bool seek(std::int32_t, std::int32_t) override { return false; }

    virtual void setOutputStream(core::io::IStream* pOut) = 0;
    // Called for every filter before a page is coded.
    virtual void modifyHeader(TiffPageImage& page) = 0;
    // Called for every filter, in list order, before the page's data.
    virtual void startPage() = 0;
    // Called for every filter, in reverse list order, after the page's data.
    virtual void endPage() = 0;
    // Whether the filter takes part in the stream chain.
    virtual bool isStreamFilter() = 0;
};

}

#endif
