#ifndef VELMO_CODEC_TIFFDIRECTORY_H
#define VELMO_CODEC_TIFFDIRECTORY_H

#include "codec/codec.ByteSink.h"

#include <vector>

namespace velmo::codec {

// TIFF 6.0 tag numbers this writer uses.
enum TiffTag : std::uint16_t {
    tagImageWidth = 256,
    tagImageLength = 257,
    tagBitsPerSample = 258,
    tagCompression = 259,
    tagPhotometricInterpretation = 262,
    tagStripOffsets = 273,
    tagSamplesPerPixel = 277,
    tagRowsPerStrip = 278,
    tagStripByteCounts = 279,
    tagXResolution = 282,
    tagYResolution = 283,
    tagPlanarConfiguration = 284,
    tagResolutionUnit = 296,
    tagColorMap = 320,
    tagJpegProc = 512,
    tagJpegInterchangeFormat = 513,
    tagJpegInterchangeFormatLength = 514,
    tagJpegQTables = 519,
    tagJpegDcTables = 520,
    tagJpegAcTables = 521,
    tagYCbCrSubSampling = 530,
};

// A little-endian one-page TIFF file: the header, then whatever image data the caller
// appends, then the directory and its out-of-line values.
class TiffDirectory {
public:
    // Writes the 8-byte header; the image data follows it.
    explicit TiffDirectory(ByteSink& sink);

    void addShorts(TiffTag tag, std::vector<std::uint16_t> values);
    void addLongs(TiffTag tag, std::vector<std::uint32_t> values);
    void addRational(TiffTag tag, std::uint32_t nNumerator, std::uint32_t nDenominator);
    void addShort(TiffTag tag, std::uint16_t nValue) { addShorts(tag, {nValue}); }
    void addLong(TiffTag tag, std::uint32_t nValue) { addLongs(tag, {nValue}); }
    // XResolution, YResolution and ResolutionUnit (inch) from a bitmap's pixels per metre.
    void addResolution(std::int32_t nXPelsPerMeter, std::int32_t nYPelsPerMeter);

    // Writes the values and the directory and links the header to it.
    void finish();

private:
    enum FieldType : std::uint16_t { typeShort = 3, typeLong = 4, typeRational = 5 };
    struct Field {
        std::uint16_t nTag;
        std::uint16_t nType;
        std::uint32_t nCount;
        std::vector<unsigned char> value;
    };

    void addField(TiffTag tag, FieldType type, std::uint32_t nCount, std::vector<unsigned char> value);

    ByteSink& m_sink;
    std::vector<Field> m_fields;
};

}

#endif
