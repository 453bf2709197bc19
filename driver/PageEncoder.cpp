#include "driver/PageEncoder.h"

#include "core/exception.BaseException.h"
#include "core/io.File.h"
#include "core/io.FileStream.h"
#include "core/lock.Lock.h"
#include "core/os/Os.h"
#include "driver/CodecRequest.h"
#include "driver/PageBitmap.h"
#include "driver/TiffDirectory.h"
#include "lib/graphics.Conversion.h"

#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace velmo::driver {

namespace {

std::atomic<std::int32_t> g_nLumaFactor{16};
std::atomic<std::int32_t> g_nChromaFactor{20};

std::int32_t yieldNever(codec::ParameterBlock*)
{
    return 0;
}

// Engine input: the whole image block, read from its first pixel.
void setInput(codec::ParameterBlock& block, const unsigned char* pImage, std::int32_t nLength)
{
    unsigned char* pStart = const_cast<unsigned char*>(pImage);
    std::int32_t nPixelOffset = pagebitmap::readPixelOffset(pImage);
    block.input.start.set(pStart);
    block.input.read.set(pStart + nPixelOffset);
    block.input.write.set(pStart + nLength);
    block.input.end.set(pStart + nLength);
    block.input.nFlags = 1;
    block.imageHeader = pagebitmap::readInfoHeader(pImage);
    std::memcpy(block.colourTable, pImage + pagebitmap::kColourTableOffset, pagebitmap::kColourTableSize);
}

// Engine output: an empty queue from nOffset to the end of the buffer.
void setOutput(codec::ParameterBlock& block, WorkImage& output, std::int32_t nOffset)
{
    block.output.start.set(output.getStart());
    block.output.read.set(output.getStart() + nOffset);
    block.output.write.set(output.getStart() + nOffset);
    block.output.end.set(output.getEnd());
    block.output.nFlags = 1;
}

void prepare(codec::ParameterBlock& block, const unsigned char* pImage, std::int32_t nLength)
{
    codec::initialiseParameterBlock(block);
    block.yield.set(&yieldNever);
    block.nFlags = 256;
    setInput(block, pImage, nLength);
}

// Output images carry the engine's header and the colour table the engine answered with,
// pixels at 1200. Scaling keeps the input's table; reduction answers with its own two
// entries (set bits black), and a 1-bit image read through any other table is a negative.
void finishImage(WorkImage& output, const codec::ParameterBlock& block, const codec::DibHeader& header)
{
    unsigned char* pImage = output.getStart();
    pagebitmap::writeFileHeader(pImage, pagebitmap::kWorkPixelOffset);
    pagebitmap::writeInfoHeader(pImage, header);
    std::memcpy(pImage + pagebitmap::kColourTableOffset, block.colourTable, pagebitmap::kColourTableSize);
}

// Six bytes per output pixel, behind the headers (which would otherwise take the room of
// a small image's pixels).
std::int32_t outputSize(std::int32_t nWidth, std::int32_t nHeight)
{
    std::int64_t nSize = pagebitmap::kWorkPixelOffset + static_cast<std::int64_t>(nWidth) * nHeight * 6;
    return nWidth < 1 || nHeight < 1 || nSize > INT32_MAX - 16 ? -1 : static_cast<std::int32_t>(nSize);
}

bool scale(const WorkImage& page, std::int32_t nWidth, std::int32_t nHeight, WorkImage& scaled)
{
    codec::DibHeader input = pagebitmap::readInfoHeader(page.getStart());
    if (nWidth < 1)
        nWidth = input.nWidth;
    if (nHeight < 1)
        nHeight = input.nHeight;
    if (scaled.reserve(outputSize(nWidth, nHeight)) != workImageOk)
        return false;
    codec::ParameterBlock block;
    prepare(block, page.getStart(), page.getLength());
    setOutput(block, scaled, pagebitmap::kWorkPixelOffset);
    block.operation.scale.nOutputWidth = nWidth;
    block.operation.scale.nOutputHeight = nHeight;
    block.operation.scale.nBitCount = input.nBitCount;
    if (runCodecOperation(block, operationScale) != 0)
        return false;
    // The resolution follows the scale factors.
    codec::DibHeader header = block.operation.scale.outputHeader;
    if (header.nWidth > 0 && header.nHeight != 0) {
        header.nXPelsPerMeter = static_cast<std::int32_t>(header.nXPelsPerMeter / (static_cast<double>(input.nWidth) / header.nWidth));
        header.nYPelsPerMeter = static_cast<std::int32_t>(header.nYPelsPerMeter / (static_cast<double>(input.nHeight) / header.nHeight));
    }
    finishImage(scaled, block, header);
    return true;
}

// The reduction's operation words of a dither setting.
void setDither(codec::ReduceArea& area, std::int32_t nDither)
{
    switch (nDither) {
    case 3:
        area.nHalftone = codec::kHalftoneClusteredDot;
        area.nScreenVariant = 3;
        break;
    case 4:
        area.nBandLow = 192;
        area.nBandHigh = 223;
        break;
    case 12:
        area.nDitherMethod = codec::ditherStucki;
        area.nScreenVariant = 1;
        break;
    case 13:
        area.nDitherMethod = codec::ditherBayer;
        area.nScreenVariant = 1;
        break;
    default:
        area.nDitherMethod = codec::ditherFloydSteinberg;
        area.nScreenVariant = 1;
        break;
    }
}

bool reduce(const WorkImage& scaled, std::int32_t nDither, WorkImage& reduced)
{
    codec::DibHeader input = pagebitmap::readInfoHeader(scaled.getStart());
    if (reduced.reserve(outputSize(input.nWidth, input.nHeight)) != workImageOk)
        return false;
    codec::ParameterBlock block;
    prepare(block, scaled.getStart(), scaled.getLength());
    setOutput(block, reduced, pagebitmap::kWorkPixelOffset);
    setDither(block.operation.reduce, nDither);
    if (runCodecOperation(block, operationReduce) != 0)
        return false;
    finishImage(reduced, block, block.operation.reduce.outputHeader);
    return true;
}

bool code(const WorkImage& image, WorkImage& coded)
{
    codec::DibHeader input = pagebitmap::readInfoHeader(image.getStart());
    std::int32_t nCompression = input.nBitCount == 1 ? 4 : input.nBitCount == 8 ? 5 : input.nBitCount == 24 ? 6 : 0;
    if (nCompression == 0 || coded.reserve(outputSize(input.nWidth, input.nHeight)) != workImageOk)
        return false;
    codec::ParameterBlock block;
    prepare(block, image.getStart(), image.getLength());
    setOutput(block, coded, 0);
    codec::WriteTiffArea& area = block.operation.tiff;
    std::memcpy(area.format, codec::kTiffFormatTag, sizeof area.format);
    area.nBitCount = input.nBitCount;
    area.nPageCount = 1;
    area.nOptions = 0;
    area.nCompression = nCompression;
    if (nCompression == 6) {
        area.nLumaFactor = getLumaFactor();
        area.nChromaFactor = getChromaFactor();
    }
    if (runCodecOperation(block, operationWriteTiff) != 0)
        return false;
    return coded.truncate(area.nOutputLength, block.output.write.get()) == workImageOk && area.nOutputLength > 0;
}

// The temporary files of one page, deleted when it is done whatever happened.
class TemporaryFiles {
public:
    ~TemporaryFiles()
    {
        core::lock::Lock guard(&m_section);
        for (const std::string& path : m_paths)
            core::os::deleteFile(path.c_str());
    }
    void add(const std::string& path)
    {
        core::lock::Lock guard(&m_section);
        m_paths.push_back(path);
    }

private:
    core::lock::CriticalSection m_section;
    std::vector<std::string> m_paths;
};

// Appends the coded one-page TIFF to the page file, with equal resolutions.
std::int32_t appendCodedPage(const WorkImage& coded, const char* pszPageFile, TemporaryFiles& temporaries)
{
    std::string temporary = std::string(pszPageFile) + ".x";
    temporaries.add(temporary);
    if (writeWorkImage(coded, temporary.c_str()) != writeOk)
        return encodeWriteFailed;
    TiffDirectoryInfo directory = readTiffDirectory(temporary.c_str());
    if (directory.nPageCount != 1)
        return encodeNotOnePage;
    std::uint32_t nResolution = directory.nXDenominator ? directory.nXNumerator / directory.nXDenominator : directory.nXNumerator;
    if (!patchTiffResolution(temporary.c_str(), directory, nResolution))
        return encodeWriteFailed;
    if (lib::graphics::convertToTiff(temporary.c_str(), nullptr, pszPageFile, 0, 0, 0, 0, 0, 0, 0) != 0)
        return encodeAppendFailed;
    core::os::deleteFile(temporary.c_str());
    return encodeOk;
}

}

void setJpegQuality(std::int32_t nQuality)
{
    std::int32_t nStep = nQuality >= 1 && nQuality <= 4 ? nQuality : 1;
    g_nLumaFactor.store(16 * nStep);
    g_nChromaFactor.store(20 * nStep);
}

std::int32_t getLumaFactor()
{
    std::int32_t nFactor = g_nLumaFactor.load();
    return nFactor < 16 ? 16 : nFactor;
}

std::int32_t getChromaFactor()
{
    std::int32_t nFactor = g_nChromaFactor.load();
    return nFactor < 20 ? 20 : nFactor;
}

std::int32_t encodePage(const WorkImage& page, std::int32_t nOutputWidth, std::int32_t nOutputHeight, bool bBilevel,
                        std::int32_t nDither, const char* pszPageFile)
{
    if (page.getLength() < pagebitmap::kPagePixelOffset)
        return encodeScaleFailed;
    TemporaryFiles temporaries;
    WorkImage scaled;
    if (!scale(page, nOutputWidth, nOutputHeight, scaled))
        return encodeScaleFailed;
    WorkImage coded;
    if (bBilevel) {
        WorkImage reduced;
        if (!reduce(scaled, nDither, reduced))
            return encodeReduceFailed;
        if (!code(reduced, coded))
            return encodeBilevelFailed;
    } else if (!code(scaled, coded)) {
        return encodeColourFailed;
    }
    return appendCodedPage(coded, pszPageFile, temporaries);
}

std::int32_t writeWorkImage(const WorkImage& buffer, const char* pszPath)
{
    if (buffer.getLength() < 1)
        return writeEmpty;
    core::io::FileStream file;
    try {
        file.create(pszPath, false);
    } catch (const core::exception::BaseException&) {
        return writeCannotCreate;
    }
    try {
        file.writeData(buffer.getStart(), 0, buffer.getLength());
    } catch (const core::exception::BaseException&) {
        return writeFailed;
    }
    return writeOk;
}

}
