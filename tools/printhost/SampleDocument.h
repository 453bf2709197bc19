#ifndef VELMO_TOOLS_PRINTHOST_SAMPLEDOCUMENT_H
#define VELMO_TOOLS_PRINTHOST_SAMPLEDOCUMENT_H

#include "tools/printhost/PageCanvas.h"

namespace velmo::tools::printhost {

// A built-in document of a few pages that exercises every drawing hook: text-like strokes
// and rules, a grey ramp, and a page with a colour photo-like region.
constexpr int samplePageCount = 3;

// Draws one page (0 to samplePageCount - 1); false when the driver refused a call.
bool drawSamplePage(PageCanvas& canvas, int nPage);

}

#endif
