#ifndef VELMO_LIB_GRAPHICS_TIFFOUTPUTGENERATOR_H
#define VELMO_LIB_GRAPHICS_TIFFOUTPUTGENERATOR_H

#include "core/collections.PointerArray.h"
#include "core/io.MemoryStream.h"
#include "core/io.NullOutputStream.h"
#include "lib/graphics.BitmapDecoderStream.h"
#include "lib/graphics.BitmapEncoderStream.h"
#include "lib/graphics.Group3DecoderStream.h"
#include "lib/graphics.Group3EncoderStream.h"
#include "lib/graphics.Group4DecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"
#include "lib/graphics.IFilter.h"
#include "lib/graphics.IOutputGenerator.h"
#include "lib/graphics.TiffOffsetStream.h"

namespace velmo::lib::graphics {

// Writes pages into a multi-page little-endian TIFF file: copied strip by strip when
// nothing changes, otherwise decoded to runs, filtered and coded again. Each page lies in
// the file as image data, 0xFF padding, out-of-line tag values, 0x00 padding and its IFD.
// The new pages join the file's IFD chain only at finish, once they are whole in the file,
// so that a crash at any moment leaves the pages before them readable. An output that
// cannot seek gets the whole document at finish.
class TiffOutputGenerator : public IOutputGenerator {
public:
    TiffOutputGenerator();

    const char* getMimeType() override { return "image/tiff"; }
    core::io::IStream* getOutputStream() override { return m_pOutput; }
    core::io::IStream* setOutputStream(core::io::IStream* pOutput) override { return m_pOutput = pOutput; }
    void start() override;
    void appendStart() override;
    void finish() override;
    void addTiffPage(TiffPageImage& page) override;

    // nOutputCompression: 0 keeps each page's own, 1-4 recode, -1 discards the image data.
    void configure(std::int32_t nOutputCompression, bool bForceRecode, bool bJpegPassThrough,
                   std::int32_t nMemoryBlockSize);
    void addFilter(IFilter* pFilter) { m_filters.add(pFilter); }

private:
    // The page as stored, before the filters change its header.
    struct SourceGeometry {
        std::int32_t nWidth;
        std::int32_t nLength;
        std::int32_t nRowsPerStrip;
    };

    core::io::IStream* sink() { return &m_output; }
    // The file offset of the next byte written.
    std::uint32_t offset() { return m_output.getPosition(); }
    void seekTo(std::uint32_t nOffset);
    void writeBytes(const unsigned char* pBytes, std::int32_t nCount);
    void writeNumber(std::int32_t nValue, std::int32_t nByteCount);
    void writePadding(unsigned char nByte);
    // Writes an IFD offset into the 4-byte field at nField, then goes back to the end.
    void writeOffsetAt(std::uint32_t nField, std::uint32_t nIfd);
    void linkNewPages();
    core::io::IStream* buildRecodeChain(TiffPageImage& page, const SourceGeometry& source,
                                        std::int32_t nInputCompression, std::int32_t nOutputCompression,
                                        bool bReverseBits);
    // Gives the strips their new offsets and writes what goes before them; returns how many
    // bytes of the source follow the last strip and belong with the page (the end of an
    // old-style JPEG stream).
    std::int32_t copyStrips(TiffPageImage& page, std::int32_t nCompression);
    void writeDirectory(TiffPageImage& page);

    unsigned char m_scratch[4] = {};
    // The field that receives the first new IFD's offset at finish; the first new IFD (0
    // while there is none); the next-IFD field of the last new IFD.
    std::uint32_t m_nLinkPosition = 4;
    std::uint32_t m_nFirstNewIfd = 0;
    std::uint32_t m_nNextIfdFieldPosition = 4;
    std::int32_t m_nOutputCompression = 0;
    core::io::NullOutputStream m_nullOutput;
    BitmapDecoderStream m_bitmapDecoder;
    BitmapEncoderStream m_bitmapEncoder;
    Group3DecoderStream m_group3Decoder;
    Group3EncoderStream m_group3Encoder;
    Group4DecoderStream m_group4Decoder;
    Group4EncoderStream m_group4Encoder;
    core::io::IStream* m_pOutput = nullptr;
    core::io::MemoryStream m_memory;
    TiffOffsetStream m_output;
    core::collections::PointerArray<IFilter> m_filters;
    bool m_bForceRecode = false;
    bool m_bJpegPassThrough = false;
    std::int32_t m_nMemoryBlockSize = 256;
};

}

#endif
