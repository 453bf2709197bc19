#ifndef VELMO_LIB_GRAPHICS_TIFFUTIL_H
#define VELMO_LIB_GRAPHICS_TIFFUTIL_H

#include "core/io.IStream.h"

namespace velmo::lib::graphics {

class TiffUtil {
public:
    // The position of the next-IFD field of the last IFD of a little-endian TIFF file;
    // the stream is left just after that field. A chain that comes back to an IFD
    // already visited raises tifInvalidImage.
    static std::int32_t getLastIfdOffsetPosition(core::io::IStream* pStream);
};

}

#endif
