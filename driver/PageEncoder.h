#ifndef VELMO_DRIVER_PAGEENCODER_H
#define VELMO_DRIVER_PAGEENCODER_H

#include "driver/WorkImage.h"

#include <cstdint>

namespace velmo::driver {

// Results of a page's coding.
enum EncodeResult : std::int32_t {
    encodeOk = 0,
    encodeScaleFailed = 101,
    encodeColourFailed = 102,
    encodeReduceFailed = 103,
    encodeBilevelFailed = 104,
    encodeNotOnePage = 106,
    encodeWriteFailed = 107,   // the coded page could not be written to its temporary file
    encodeAppendFailed = 108,  // the page could not be appended to the page file
};

// Results of writing a buffer to a file.
enum WriteResult : std::int32_t {
    writeOk = 0,
    writeEmpty = 101,
    writeCannotCreate = 102,
    writeFailed = 103,
    writeShort = 104,
};

// The JPEG factors of colour pages from the quality setting (1 finest to 4), kept for
// the process: 1 gives 16 and 20, 2 gives 32 and 40, 3 gives 48 and 60, 4 gives 64 and 80,
// anything else as 1.
void setJpegQuality(std::int32_t nQuality);
std::int32_t getLumaFactor();
std::int32_t getChromaFactor();

// Scales a captured page (a bitmap file image) to the output size, reduces it to black
// and white when bBilevel (with the dither setting's row) or keeps its colours, codes it
// as a one-page TIFF and appends that page to the page file. 0 or an EncodeResult.
std::int32_t encodePage(const WorkImage& page, std::int32_t nOutputWidth, std::int32_t nOutputHeight, bool bBilevel,
                        std::int32_t nDither, const char* pszPageFile);

// Creates (or empties) the file and writes the buffer's bytes; 0 or a WriteResult.
std::int32_t writeWorkImage(const WorkImage& buffer, const char* pszPath);

}

#endif
