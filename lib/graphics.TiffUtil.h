#ifndef VELMO_LIB_GRAPHICS_TIFFUTIL_H
#define VELMO_LIB_GRAPHICS_TIFFUTIL_H

#include "core/io.IStream.h"

namespace velmo::lib::graphics {

// Where pages appended to a TIFF file are linked in.
struct TiffChainEnd {
    // The field that is to receive the offset of the first new IFD: the next-IFD field of
    // the last whole directory of the chain, or the header's first-IFD field.
    std::uint32_t nLinkPosition;
    std::uint32_t nFileLength;
};

class TiffUtil {
public:
    // The longest file whose every byte a 32-bit TIFF offset can name; all ones is also
    // what the system answers for a file position it cannot give.
    static constexpr std::uint32_t kLongestFile = 0xFFFFFFFEu;

    // Follows the IFD chain of a little-endian TIFF file to its end. A next-IFD offset that
    // leads to no whole directory (past the end, into a cut or empty directory, back into
    // the chain: what a crash or a truncated copy leaves) ends the chain at the directory
    // holding it, so that an append keeps every page before it. A stream that holds no
    // TIFF header raises the header errors; one of more than kLongestFile bytes raises
    // maximumLengthExceeded.
    static TiffChainEnd findChainEnd(core::io::IStream* pStream);

    // Positions a stream of nLength bytes at any offset below 4 GB, although its seek takes
    // a signed 32-bit distance: from the start below 2 GB, from the end above. False when
    // the stream cannot get there.
    static bool seekTo(core::io::IStream* pStream, std::uint32_t nPosition, std::uint32_t nLength);
};

}

#endif
