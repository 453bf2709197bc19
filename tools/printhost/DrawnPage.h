#ifndef VELMO_TOOLS_PRINTHOST_DRAWNPAGE_H
#define VELMO_TOOLS_PRINTHOST_DRAWNPAGE_H

#include "tools/imagefile/RgbImage.h"

#include <windows.h>
#include <winddi.h>

namespace velmo::tools::printhost {

// The pixels of a 24-bit engine surface as drawn so far, rows top-down. The surface's rows
// are lDelta bytes apart from the top one at pvScan0, so a bottom-up surface reads the same.
RgbImage pixelsOf(const SURFOBJ& surface);

}

#endif
