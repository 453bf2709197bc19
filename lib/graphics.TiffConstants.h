#ifndef VELMO_LIB_GRAPHICS_TIFFCONSTANTS_H
#define VELMO_LIB_GRAPHICS_TIFFCONSTANTS_H

#include <cstdint>

namespace velmo::lib::graphics {

class TiffConstants {
public:
    // TIFF 6.0 field types.
    enum DataType : std::int32_t {
        typeByte = 1,
        typeAscii = 2,
        typeShort = 3,
        typeLong = 4,
        typeRational = 5,
        typeSByte = 6,
        typeUndefined = 7,
        typeSShort = 8,
        typeSLong = 9,
        typeSRational = 10,
        typeFloat = 11,
        typeDouble = 12,
    };

    // The tags the library looks up or writes; all others are carried through.
    enum Tag : std::int32_t {
        tagImageWidth = 256,
        tagImageLength = 257,
        tagBitsPerSample = 258,
        tagCompression = 259,
        tagPhotometricInterpretation = 262,
        tagFillOrder = 266,
        tagStripOffsets = 273,
        tagOrientation = 274,
        tagSamplesPerPixel = 277,
        tagRowsPerStrip = 278,
        tagStripByteCounts = 279,
        tagXResolution = 282,
        tagYResolution = 283,
        tagT4Options = 292,
        tagT6Options = 293,
        tagTileOffsets = 324,
        tagTileByteCounts = 325,
        tagJpegInterchangeFormat = 513,
        tagJpegQTables = 519,
        tagJpegDcTables = 520,
        tagJpegAcTables = 521,
    };

    enum Compression : std::int32_t {
        compressionDiscard = -1,
        compressionNone = 1,
        compressionModifiedHuffman = 2,
        compressionGroup3 = 3,
        compressionGroup4 = 4,
        compressionOldJpeg = 6,
        compressionJpeg = 7,
    };

    // Bytes per value of a field type; any other code raises invalidParameter ("nTagType").
    static std::int32_t getDataTypeByteCount(std::int32_t nTagType);
};

}

#endif
