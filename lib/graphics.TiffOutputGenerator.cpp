#include "lib/graphics.TiffOutputGenerator.h"

#include "core/exception.BaseException.h"
#include "core/exception.UnsupportedException.h"
#include "lib/graphics.TiffPageImage.h"
#include "lib/graphics.LittleEndian.h"
#include "lib/graphics.TiffConstants.h"
#include "lib/graphics.TiffUtil.h"

#include <initializer_list>

namespace velmo::lib::graphics {

using core::exception::BaseException;
using core::io::IStream;

namespace {

// Wider lines than this are no page of this system; refusing them bounds the coders' line
// buffers on hostile input.
constexpr std::int32_t kMaximumWidth = 1 << 20;

constexpr std::int32_t tagJpegInterchangeFormatLength = 514;

[[noreturn]] void raiseTagNotFound(const core::exception::Location& location, const char* pszName)
{
    throw BaseException(location, core::exception::tifTagNotFound, 0, pszName, "");
}

TiffTag& requireTag(TiffPageImage& page, std::int32_t nTag, const char* pszName)
{
    TiffTag* pTag = page.getTag(nTag);
    if (!pTag)
        raiseTagNotFound(VELMO_LOCATION, pszName);
    return *pTag;
}

[[noreturn]] void raiseUnsupportedCompression(const char* pszWhich, std::int32_t nInput, std::int32_t nOutput)
{
    core::exception::UnsupportedException error(VELMO_LOCATION, core::exception::unsupported,
                                                core::exception::unspecifiedError, pszWhich);
    error.addReference("inputCompression", nInput);
    error.addReference("outputCompression", nOutput);
    throw error;
}

bool isCodedCompression(std::int32_t nCompression)
{
    return nCompression >= 1 && nCompression <= 4;
}

// Sets a tag to values of one LONG each (inline when it is a single value).
void setLongValue(TiffTag& tag, std::int32_t nIndex, std::int32_t nValue)
{
    if (tag.getValueCount() * tag.getValueSize() <= 4 && nIndex == 0)
        tag.setValueOffset(nValue);
    else
        tag.setLong(nIndex, nValue);
}

void makeSingleLong(TiffTag& tag, std::int32_t nValue)
{
    tag.setDataType(TiffConstants::typeLong);
    tag.setValueCount(1, TiffConstants::typeLong);
    tag.setValueOffset(nValue);
}

std::int32_t optionalValue(const TiffPageImage& page, std::int32_t nTag)
{
    TiffTag* pTag = page.getTag(nTag);
    return pTag && pTag->getValueCount() > 0 ? pTag->getLong(0) : 0;
}

// The 32 bits of a file offset as a tag's value field holds them.
std::int32_t asField(std::int64_t nOffset)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(nOffset));
}

TiffTag& ensureLongOption(TiffPageImage& page, std::int32_t nTag)
{
    TiffTag* pTag = page.getTag(nTag);
    if (!pTag) {
        pTag = page.addTag(nTag);
        makeSingleLong(*pTag, 0);
    }
    return *pTag;
}

}

TiffOutputGenerator::TiffOutputGenerator() : m_memory(false, 256) {}

void TiffOutputGenerator::configure(std::int32_t nOutputCompression, bool bForceRecode, bool bJpegPassThrough,
                                    std::int32_t nMemoryBlockSize)
{
    m_nOutputCompression = nOutputCompression;
    m_bForceRecode = bForceRecode;
    m_bJpegPassThrough = bJpegPassThrough;
    m_nMemoryBlockSize = nMemoryBlockSize;
}

void TiffOutputGenerator::writeBytes(const unsigned char* pBytes, std::int32_t nCount)
{
    m_output.writeData(pBytes, 0, nCount);
}

void TiffOutputGenerator::writeNumber(std::int32_t nValue, std::int32_t nByteCount)
{
    LittleEndian::fromInt32(nValue, m_scratch, 0, nByteCount);
    writeBytes(m_scratch, nByteCount);
}

void TiffOutputGenerator::writePadding(unsigned char nByte)
{
    while (offset() % 4 != 0)
        writeBytes(&nByte, 1);
}

void TiffOutputGenerator::seekTo(std::uint32_t nOffset)
{
    if (!m_output.seekTo(nOffset)) {
        BaseException error(VELMO_LOCATION, core::exception::unspecifiedError, 0, "unable to seek to desired location", "");
        error.addReference("offset", asField(nOffset));
        error.addReference("seekOrigin", IStream::seekBegin);
        throw error;
    }
}

void TiffOutputGenerator::writeOffsetAt(std::uint32_t nField, std::uint32_t nIfd)
{
    seekTo(nField);
    writeNumber(asField(nIfd), 4);
    seekTo(m_output.getLength());
}

void TiffOutputGenerator::start()
{
    if (m_pOutput->canSeek()) {
        m_output.attach(m_pOutput, 0, 0);
    } else {
        m_memory.setAllocation(false, static_cast<std::uint32_t>(m_nMemoryBlockSize));
        m_memory.reset();
        m_output.attach(&m_memory, 0, 0);
    }
    const unsigned char header[8] = {'I', 'I', 42, 0, 0, 0, 0, 0};
    writeBytes(header, 8);
    m_nLinkPosition = 4;
    m_nFirstNewIfd = 0;
}

void TiffOutputGenerator::appendStart()
{
    if (!m_pOutput->canSeek())
        throw BaseException(VELMO_LOCATION, core::exception::seekableStreamRequired, 0, "", "");
    TiffChainEnd end = TiffUtil::findChainEnd(m_pOutput);
    m_output.attach(m_pOutput, 0, end.nFileLength);
    seekTo(end.nFileLength);
    m_nLinkPosition = end.nLinkPosition;
    m_nFirstNewIfd = 0;
}

void TiffOutputGenerator::linkNewPages()
{
    if (m_nFirstNewIfd == 0)
        return;
    // Everything before goes out first: a reader, or the next append after a crash, never
    // follows the chain to bytes that are not in the file.
    m_output.flush();
    writeOffsetAt(m_nLinkPosition, m_nFirstNewIfd);
    m_output.flush();
    m_nLinkPosition = m_nNextIfdFieldPosition;
    m_nFirstNewIfd = 0;
}

void TiffOutputGenerator::finish()
{
    linkNewPages();
    if (m_pOutput->canSeek())
        return;
    m_memory.seek(0, IStream::seekBegin);
    unsigned char buffer[512];
    for (std::int32_t nRead; (nRead = m_memory.readData(buffer, 0, sizeof buffer)) > 0;)
        m_pOutput->writeData(buffer, 0, nRead);
    m_memory.reset();
    m_output.attach(&m_memory, m_output.getLength(), m_output.getLength());
}

IStream* TiffOutputGenerator::buildRecodeChain(TiffPageImage& page, const SourceGeometry& source,
                                               std::int32_t nInputCompression, std::int32_t nOutputCompression,
                                               bool bReverseBits)
{
    std::int32_t nWidth = page.getLongValue(TiffConstants::tagImageWidth);
    std::int32_t nLength = page.getLongValue(TiffConstants::tagImageLength);
    for (std::int32_t nSize : {nWidth, source.nWidth}) {
        if (nSize < 1 || nSize > kMaximumWidth)
            throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "imageWidth", "");
    }
    if (nLength < 0 || source.nLength < 0)
        throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "imageLength", "");

    // The coding options of the input describe a coding that is gone.
    if (nOutputCompression != 3)
        page.removeTag(TiffConstants::tagT4Options);
    if (nOutputCompression != 4)
        page.removeTag(TiffConstants::tagT6Options);

    IStream* pHead = nullptr;
    switch (nOutputCompression) {
    case 1:
        m_bitmapEncoder.initialise(sink(), nWidth);
        pHead = &m_bitmapEncoder;
        break;
    case 2:
        m_group3Encoder.initialise(sink(), nWidth, nLength, nLength, false, true);
        pHead = &m_group3Encoder;
        break;
    case 3: {
        // One-dimensional coding with fill bits before each EOL, whatever the input claimed.
        setLongValue(ensureLongOption(page, TiffConstants::tagT4Options), 0, 4);
        m_group3Encoder.initialise(sink(), nWidth, nLength, nLength, true, true);
        pHead = &m_group3Encoder;
        break;
    }
    case 4:
        ensureLongOption(page, TiffConstants::tagT6Options);
        m_group4Encoder.initialise(sink(), nWidth, nLength, nLength);
        pHead = &m_group4Encoder;
        break;
    default:
        m_nullOutput.resetCount();
        pHead = &m_nullOutput;
        break;
    }
    for (std::int32_t i = m_filters.getCount() - 1; i >= 0; --i) {
        IFilter* pFilter = m_filters.getItem(i);
        if (pFilter->isStreamFilter()) {
            pFilter->setOutputStream(pHead);
            pHead = pFilter;
        }
    }
    switch (nInputCompression) {
    case 1:
        m_bitmapDecoder.initialise(pHead, source.nWidth, bReverseBits);
        return &m_bitmapDecoder;
    case 2:
        m_group3Decoder.initialise(pHead, source.nWidth, true, bReverseBits);
        return &m_group3Decoder;
    case 3:
        m_group3Decoder.initialise(pHead, source.nWidth, false, bReverseBits);
        return &m_group3Decoder;
    default:
        m_group4Decoder.initialise(pHead, source.nWidth, source.nLength, source.nRowsPerStrip, bReverseBits);
        return &m_group4Decoder;
    }
}

std::int32_t TiffOutputGenerator::copyStrips(TiffPageImage& page, std::int32_t nCompression)
{
    TiffTag* pOffsets = page.getTag(TiffConstants::tagStripOffsets);
    if (!pOffsets)
        pOffsets = page.getTag(TiffConstants::tagTileOffsets);
    std::int32_t nStripCount = page.getStripCount();
    const std::uint32_t nPageStart = offset();

    // Old-style JPEG: the stream header from JPEGInterchangeFormat up to the first strip goes
    // first, and every offset into it moves with it.
    std::int32_t nHeaderLength = 0;
    std::int32_t nTrailerLength = 0;
    if (nCompression == 6) {
        TiffTag& interchange = requireTag(page, TiffConstants::tagJpegInterchangeFormat, "jpegInterchangeFormat");
        TiffTag* tables[3] = {&requireTag(page, TiffConstants::tagJpegQTables, "jpegQTables"),
                              &requireTag(page, TiffConstants::tagJpegDcTables, "jpegDCTables"),
                              &requireTag(page, TiffConstants::tagJpegAcTables, "jpegACTables")};
        std::int32_t nInterchange = interchange.getLong(0);
        std::int64_t nHeader = static_cast<std::int64_t>(nStripCount > 0 ? page.getStripOffset(0) : nInterchange) - nInterchange;
        if (nHeader < 0 || nHeader > INT32_MAX)
            throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "jpegInterchangeFormat", "");
        nHeaderLength = static_cast<std::int32_t>(nHeader);
        std::int64_t nShift = static_cast<std::int64_t>(nPageStart) - nInterchange;
        page.saveData(nInterchange, nHeaderLength, sink(), false);
        // The stream may go on behind its last strip (its end-of-image marker): those bytes
        // follow the strips, so that the stream keeps its length.
        TiffTag* pLength = page.getTag(tagJpegInterchangeFormatLength);
        if (pLength && nStripCount > 0) {
            std::int64_t nStreamEnd = static_cast<std::int64_t>(nInterchange) + pLength->getLong(0);
            std::int64_t nStripsEnd =
                static_cast<std::int64_t>(page.getStripOffset(nStripCount - 1)) + page.getStripByteCount(nStripCount - 1);
            if (nStreamEnd > nStripsEnd && nStreamEnd - nStripsEnd <= INT32_MAX)
                nTrailerLength = static_cast<std::int32_t>(nStreamEnd - nStripsEnd);
        }
        setLongValue(interchange, 0, asField(nInterchange + nShift));
        for (TiffTag* pTable : tables) {
            for (std::int32_t i = 0; i < pTable->getValueCount(); ++i)
                setLongValue(*pTable, i, asField(pTable->getLong(i) + nShift));
        }
    } else if (nCompression == 7) {
        requireTag(page, TiffConstants::tagJpegInterchangeFormat, "jpegInterchangeFormat");
    }

    // Every strip gets its own new offset, so strips stored out of order or with gaps in
    // the input come out right, back to back.
    if (pOffsets->getDataType() != TiffConstants::typeLong) {
        pOffsets->setDataType(TiffConstants::typeLong);
        pOffsets->setValueCount(pOffsets->getValueCount(), TiffConstants::typeLong);
    }
    std::int64_t nNextOffset = static_cast<std::int64_t>(nPageStart) + nHeaderLength;
    for (std::int32_t i = 0; i < nStripCount; ++i) {
        setLongValue(*pOffsets, i, asField(nNextOffset));
        nNextOffset += page.getStripByteCount(i);
    }
    if (nCompression == 7 && nStripCount > 0)
        setLongValue(*page.getTag(TiffConstants::tagJpegInterchangeFormat), 0, asField(nPageStart));
    return nTrailerLength;
}

void TiffOutputGenerator::addTiffPage(TiffPageImage& page)
{
    TiffTag& compression = requireTag(page, TiffConstants::tagCompression, "compression");
    // The decoder reads the page as it is stored; the filters' header changes describe
    // what the encoder writes.
    SourceGeometry source{optionalValue(page, TiffConstants::tagImageWidth), optionalValue(page, TiffConstants::tagImageLength),
                          optionalValue(page, TiffConstants::tagRowsPerStrip)};
    std::int32_t nInputCompression = compression.getLong(0);
    // A JPEG page passes through as it is: filters that change pixels cannot reach into its
    // data, so they must neither change its header nor run (they have no stream behind them).
    const bool bJpegPassThrough = m_bJpegPassThrough && (nInputCompression == 6 || nInputCompression == 7);
    const auto takesPart = [&](IFilter* pFilter) { return !bJpegPassThrough || !pFilter->isStreamFilter(); };
    for (std::int32_t i = 0; i < m_filters.getCount(); ++i) {
        if (takesPart(m_filters.getItem(i)))
            m_filters.getItem(i)->modifyHeader(page);
    }

    bool bCopy;
    bool bReverseBits = false;
    std::int32_t nOutputCompression = nInputCompression;
    if (bJpegPassThrough) {
        bCopy = true;
        if (!page.getTag(TiffConstants::tagStripOffsets) && !page.getTag(TiffConstants::tagTileOffsets))
            raiseTagNotFound(VELMO_LOCATION, "stripOffsets");
    } else {
        requireTag(page, TiffConstants::tagStripOffsets, "stripOffsets");
        requireTag(page, TiffConstants::tagStripByteCounts, "stripByteCounts");
        requireTag(page, TiffConstants::tagImageWidth, "imageWidth");
        requireTag(page, TiffConstants::tagImageLength, "imageLength");
        requireTag(page, TiffConstants::tagRowsPerStrip, "rowsPerStrip");
        TiffTag* pFillOrder = page.getTag(TiffConstants::tagFillOrder);
        bReverseBits = pFillOrder && pFillOrder->getLong(0) != 1;
        if (m_nOutputCompression != 0)
            nOutputCompression = m_nOutputCompression;
        bCopy = !m_bForceRecode && m_filters.getCount() == 0 && nOutputCompression == nInputCompression;
    }

    IStream* pEntry = sink();
    if (!bCopy) {
        if (!isCodedCompression(nOutputCompression) && nOutputCompression != -1)
            raiseUnsupportedCompression("unknown/unsupported output compression", nInputCompression, nOutputCompression);
        if (!isCodedCompression(nInputCompression))
            raiseUnsupportedCompression("unknown/unsupported input compression", nInputCompression, nOutputCompression);
        pEntry = buildRecodeChain(page, source, nInputCompression, nOutputCompression, bReverseBits);
        compression.setValueOffset(nOutputCompression);
    }

    const std::uint32_t nDataStart = offset();
    for (std::int32_t i = 0; i < m_filters.getCount(); ++i) {
        if (takesPart(m_filters.getItem(i)))
            m_filters.getItem(i)->startPage();
    }
    sink()->flush();
    std::int32_t nTrailerLength = bCopy ? copyStrips(page, nInputCompression) : 0;
    for (std::int32_t i = 0; i < page.getStripCount(); ++i)
        page.saveStrip(i, pEntry, false);
    if (nTrailerLength > 0) {
        std::int32_t nLast = page.getStripCount() - 1;
        page.saveData(page.getStripOffset(nLast) + page.getStripByteCount(nLast), nTrailerLength, pEntry, false);
    }
    for (std::int32_t i = m_filters.getCount() - 1; i >= 0; --i) {
        if (takesPart(m_filters.getItem(i)))
            m_filters.getItem(i)->endPage();
    }
    pEntry->flush();

    if (!bCopy) {
        makeSingleLong(*page.getTag(TiffConstants::tagStripOffsets), asField(nDataStart));
        makeSingleLong(*page.getTag(TiffConstants::tagStripByteCounts), asField(offset() - nDataStart));
        TiffTag& rowsPerStrip = *page.getTag(TiffConstants::tagRowsPerStrip);
        makeSingleLong(rowsPerStrip, page.getTag(TiffConstants::tagImageLength)->getLong(0));
        TiffTag* pFillOrder = page.getTag(TiffConstants::tagFillOrder);
        if (bReverseBits && pFillOrder)
            pFillOrder->setValueOffset(1);
    }
    writePadding(0xFF);
    writeDirectory(page);
}

void TiffOutputGenerator::writeDirectory(TiffPageImage& page)
{
    for (std::int32_t i = 0; i < page.getTagCount(); ++i) {
        TiffTag& tag = *page.getTagAt(i);
        std::int64_t nBytes = static_cast<std::int64_t>(tag.getValueCount()) * tag.getValueSize();
        if (nBytes > 4) {
            tag.setValueOffset(asField(offset()));
            writeBytes(tag.getData(), static_cast<std::int32_t>(nBytes));
        }
    }
    writePadding(0x00);
    writeNumber(0, 2);

    const std::uint32_t nIfd = offset();
    writeNumber(page.getTagCount(), 2);
    for (std::int32_t i = 0; i < page.getTagCount(); ++i) {
        TiffTag& tag = *page.getTagAt(i);
        writeNumber(tag.getTagNumber(), 2);
        writeNumber(tag.getDataType(), 2);
        writeNumber(tag.getValueCount(), 4);
        writeNumber(tag.getValueOffset(), 4);
    }
    const std::uint32_t nNextIfdField = offset();
    writeNumber(0, 4);
    // Until finish links the first new IFD into the file's chain no reader reaches the new
    // pages, so they are chained among themselves as they come.
    if (m_nFirstNewIfd == 0)
        m_nFirstNewIfd = nIfd;
    else
        writeOffsetAt(m_nNextIfdFieldPosition, nIfd);
    m_nNextIfdFieldPosition = nNextIfdField;
}

}
