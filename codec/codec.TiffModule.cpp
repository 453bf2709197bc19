#include "codec/codec.TiffModule.h"

#include "codec/codec.JpegEncoder.h"
#include "codec/codec.LzwEncoder.h"
#include "codec/codec.ModuleRequest.h"
#include "codec/codec.Palette.h"
#include "codec/codec.SinkStream.h"
#include "codec/codec.TiffDirectory.h"
#include "lib/graphics.BitmapDecoderStream.h"
#include "lib/graphics.Group4EncoderStream.h"

#include <cstring>

namespace velmo::codec {

namespace {

constexpr std::int32_t kRowsPerYield = 64;

enum TiffCompression : std::int32_t { compressionGroup4 = 4, compressionLzw = 5, compressionOldJpeg = 6 };
enum Photometric : std::uint16_t {
    photometricWhiteIsZero = 0,
    photometricBlackIsZero = 1,
    photometricPalette = 3,
    photometricYCbCr = 6,
};
constexpr std::int32_t kMaxJpegFactor = 65535;

std::int32_t compressionForDepth(std::int32_t nBitCount)
{
    switch (nBitCount) {
    case 1:
        return compressionGroup4;
    case 8:
        return compressionLzw;
    default:
        return compressionOldJpeg;
    }
}

void addImageFields(TiffDirectory& directory, const DibView& image, const DibHeader& header, std::int32_t nCompression)
{
    directory.addLong(tagImageWidth, static_cast<std::uint32_t>(image.getWidth()));
    directory.addLong(tagImageLength, static_cast<std::uint32_t>(image.getHeight()));
    directory.addShort(tagCompression, static_cast<std::uint16_t>(nCompression));
    directory.addLong(tagRowsPerStrip, static_cast<std::uint32_t>(image.getHeight()));
    directory.addResolution(header.nXPelsPerMeter, header.nYPelsPerMeter);
}

void addStrip(TiffDirectory& directory, std::size_t nOffset, std::size_t nEnd)
{
    directory.addLong(tagStripOffsets, static_cast<std::uint32_t>(nOffset));
    directory.addLong(tagStripByteCounts, static_cast<std::uint32_t>(nEnd - nOffset));
}

void writeLzwPage(ParameterBlock& block, const DibView& image, ByteSink& sink, TiffDirectory& directory)
{
    const std::size_t nStripOffset = sink.getPosition();
    LzwEncoder encoder(sink);
    for (std::int32_t y = 0; y < image.getHeight(); ++y) {
        if (y % kRowsPerYield == 0)
            yieldToCaller(block);
        encoder.encode(image.getRow(y), static_cast<std::size_t>(image.getWidth()));
    }
    encoder.finish();
    addStrip(directory, nStripOffset, sink.getPosition());

    directory.addShort(tagBitsPerSample, 8);
    directory.addShort(tagSamplesPerPixel, 1);
    const Palette palette(block.colourTable);
    if (palette.isGreyRamp()) {
        directory.addShort(tagPhotometricInterpretation, photometricBlackIsZero);
        return;
    }
    directory.addShort(tagPhotometricInterpretation, photometricPalette);
    // All red values, then all green, then all blue, each scaled to 16 bits.
    std::vector<std::uint16_t> colourMap(3 * 256);
    for (std::size_t i = 0; i < 256; ++i) {
        colourMap[i] = static_cast<std::uint16_t>(block.colourTable[i].nRed * 257);
        colourMap[256 + i] = static_cast<std::uint16_t>(block.colourTable[i].nGreen * 257);
        colourMap[512 + i] = static_cast<std::uint16_t>(block.colourTable[i].nBlue * 257);
    }
    directory.addShorts(tagColorMap, std::move(colourMap));
}

// The rows go through the graphics library: bitmap rows to runs, runs to Group 4 codes.
void writeGroup4Page(ParameterBlock& block, const DibView& image, ByteSink& sink, TiffDirectory& directory)
{
    // Set bits are black unless the colour table says that entry 1 is the lighter one.
    const ColourEntry& zero = block.colourTable[0];
    const ColourEntry& one = block.colourTable[1];
    const bool bInvert = computeLuminance(one.nRed, one.nGreen, one.nBlue) > computeLuminance(zero.nRed, zero.nGreen, zero.nBlue);
    const std::size_t nRowBytes = (static_cast<std::size_t>(image.getWidth()) + 7) / 8;
    std::vector<unsigned char> inverted(bInvert ? nRowBytes : 0);

    const std::size_t nStripOffset = sink.getPosition();
    SinkStream out(sink);
    lib::graphics::Group4EncoderStream encoder;
    encoder.initialise(&out, image.getWidth(), image.getHeight(), image.getHeight());
    lib::graphics::BitmapDecoderStream runs;
    runs.initialise(&encoder, image.getWidth(), false);
    for (std::int32_t y = 0; y < image.getHeight(); ++y) {
        if (y % kRowsPerYield == 0)
            yieldToCaller(block);
        const unsigned char* pRow = image.getRow(y);
        if (bInvert) {
            for (std::size_t i = 0; i < nRowBytes; ++i)
                inverted[i] = static_cast<unsigned char>(~pRow[i]);
            pRow = inverted.data();
        }
        runs.writeData(pRow, 0, static_cast<std::int32_t>(nRowBytes));
    }
    runs.flush();
    addStrip(directory, nStripOffset, sink.getPosition());

    directory.addShort(tagBitsPerSample, 1);
    directory.addShort(tagSamplesPerPixel, 1);
    directory.addShort(tagPhotometricInterpretation, photometricWhiteIsZero);
}

// Old-style JPEG (TIFF 6.0, section 22): one complete JPEG stream in the file, the
// strip being its entropy-coded scan, and the fields pointing at its tables.
void writeJpegPage(ParameterBlock& block, const DibView& image, ByteSink& sink, TiffDirectory& directory)
{
    const WriteTiffArea& area = block.operation.tiff;
    if (area.nLumaFactor < 1 || area.nLumaFactor > kMaxJpegFactor || area.nChromaFactor < 1 || area.nChromaFactor > kMaxJpegFactor)
        throw CodecError(statusInvalidParameter);
    JpegEncoder encoder(sink, image, area.nLumaFactor, area.nChromaFactor);
    for (std::int32_t nBand = 0; nBand < encoder.getBandCount(); ++nBand) {
        if (nBand % (kRowsPerYield / 16) == 0)
            yieldToCaller(block);
        encoder.encodeBand(nBand);
    }
    const JpegStreamLayout& layout = encoder.finish();
    addStrip(directory, layout.nScanBegin, layout.nScanEnd);

    auto perComponent = [](const std::size_t (&positions)[2]) {
        return std::vector<std::uint32_t>{static_cast<std::uint32_t>(positions[0]), static_cast<std::uint32_t>(positions[1]),
                                          static_cast<std::uint32_t>(positions[1])};
    };
    directory.addShorts(tagBitsPerSample, {8, 8, 8});
    directory.addShort(tagSamplesPerPixel, 3);
    directory.addShort(tagPhotometricInterpretation, photometricYCbCr);
    directory.addShort(tagPlanarConfiguration, 1);
    directory.addShort(tagJpegProc, 1);
    directory.addLong(tagJpegInterchangeFormat, static_cast<std::uint32_t>(layout.nStreamBegin));
    directory.addLong(tagJpegInterchangeFormatLength, static_cast<std::uint32_t>(layout.nStreamEnd - layout.nStreamBegin));
    directory.addLongs(tagJpegQTables, perComponent(layout.quantisationTables));
    directory.addLongs(tagJpegDcTables, perComponent(layout.dcTables));
    directory.addLongs(tagJpegAcTables, perComponent(layout.acTables));
    directory.addShorts(tagYCbCrSubSampling, {2, 2});
}

void executeWriteTiff(ParameterBlock& block)
{
    const DibView image = getInputImage(block, depthBit(1) | depthBit(8) | depthBit(24));
    WriteTiffArea& area = block.operation.tiff;
    if (std::memcmp(area.format, kTiffFormatTag, sizeof area.format) != 0 || area.nPageCount != 1 || area.nOptions != 0 ||
        area.nBitCount != image.getBitCount())
        throw CodecError(statusInvalidParameter);
    const std::int32_t nCompression = compressionForDepth(image.getBitCount());
    if (area.nCompression != nCompression)
        throw CodecError(statusInvalidParameter);

    OutputArea output(block);
    ByteSink sink(output.reserve(0), output.getFreeSpace());
    TiffDirectory directory(sink);
    addImageFields(directory, image, block.imageHeader, nCompression);
    if (nCompression == compressionGroup4)
        writeGroup4Page(block, image, sink, directory);
    else if (nCompression == compressionLzw)
        writeLzwPage(block, image, sink, directory);
    else
        writeJpegPage(block, image, sink, directory);
    directory.finish();
    output.commit(sink.getPosition());
    area.nOutputLength = static_cast<std::int32_t>(sink.getPosition());
}

}

std::int32_t runTiffModule(ParameterBlock& block, std::int32_t nPhase)
{
    return runModulePhase(block, nPhase, &executeWriteTiff);
}

}
