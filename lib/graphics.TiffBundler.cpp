#include "lib/graphics.TiffBundler.h"

#include "core/String.h"
#include "core/exception.BaseException.h"
#include "lib/graphics.TiffConstants.h"
#include "lib/graphics.LittleEndian.h"
#include "lib/graphics.TiffUtil.h"

#include <set>

namespace velmo::lib::graphics {

using core::exception::BaseException;
using core::io::IStream;

namespace {

[[noreturn]] void raise(const core::exception::Location& location, std::int32_t nCode, const char* pszInfo = "")
{
    throw BaseException(location, nCode, 0, pszInfo, "");
}

}

const core::collections::SimpleTypeArray<std::int32_t>* TiffBundler::parsePageList(
    const char* pszSelection, core::collections::SimpleTypeArray<std::int32_t>& pages)
{
    core::String selection(pszSelection);
    selection.trim();
    if (selection.isEmpty() || core::String::equals(selection.getBuffer(), "-1"))
        return nullptr;
    core::String::parseNumberList(selection.getBuffer(), pages);
    return &pages;
}

void TiffBundler::bundleFile(IOutputGenerator& generator, core::io::FileStream& output, bool bAppend,
                             const char* pszInputPath, const char* pszPageList)
{
    TiffBundler bundler;
    bundler.setOutputGenerator(&generator);
    bundler.setOutputStream(&output, true, 4096);
    bundler.start(bAppend);
    core::io::FileStream input;
    input.open(pszInputPath, false);
    // Tags and strips are read in small pieces; the buffer turns them into fewer system calls.
    core::io::BufferedStream bufferedInput;
    bufferedInput.setStream(&input, 4096);
    core::collections::SimpleTypeArray<std::int32_t> pages;
    bundler.setInputStream(&bufferedInput);
    bundler.setPageList(parsePageList(pszPageList, pages));
    bundler.generate();
    input.close();
    bundler.finish();
    output.close();
}

void TiffBundler::setOutputStream(IStream* pOutput, bool bBuffered, std::int32_t nBufferSize)
{
    m_pOutput = pOutput;
    if (bBuffered) {
        m_bufferedOutput.setStream(pOutput, nBufferSize);
        m_pOutput = &m_bufferedOutput;
    }
    m_pGenerator->setOutputStream(m_pOutput);
}

void TiffBundler::start(bool bAppend)
{
    if (bAppend)
        m_pGenerator->appendStart();
    else
        m_pGenerator->start();
}

void TiffBundler::setInputStream(IStream* pInput)
{
    if (!pInput->canSeek())
        raise(VELMO_LOCATION, core::exception::seekableStreamRequired);
    m_pInput = pInput;
    m_pPageList = nullptr;
}

void TiffBundler::finish()
{
    m_pGenerator->finish();
    m_pOutput->flush();
}

void TiffBundler::seek(std::int32_t nOffset, std::int32_t nSeekOrigin)
{
    if (!m_pInput->seek(nOffset, nSeekOrigin))
        raise(VELMO_LOCATION, core::exception::tifDataPositionSeekError);
}

bool TiffBundler::isSelected(std::int32_t nPage) const
{
    if (!m_pPageList)
        return true;
    for (std::int32_t i = 0; i < m_pPageList->getCount(); ++i) {
        if (m_pPageList->getItem(i) == nPage)
            return true;
    }
    return false;
}

// Reads nCount bytes into the directory buffer; returns how many came.
std::int32_t TiffBundler::readInput(std::int32_t nCount)
{
    std::int32_t nTotal = 0;
    while (nTotal < nCount) {
        std::int32_t nRead = m_pInput->readData(m_directory, nTotal, nCount - nTotal);
        if (nRead <= 0)
            break;
        nTotal += nRead;
    }
    return nTotal;
}

void TiffBundler::generate()
{
    // The input's length bounds every count and offset read from it.
    seek(0, IStream::seekEnd);
    m_nInputLength = m_pInput->getPosition();
    seek(0, IStream::seekBegin);

    if (readInput(8) < 8)
        raise(VELMO_LOCATION, core::exception::tifHeaderReadError);
    bool bLittleEndian = (m_directory[0] == 'I' && m_directory[1] == 'I') || (m_directory[0] == 'A' && m_directory[1] == 'E');
    if (!bLittleEndian)
        raise(VELMO_LOCATION, core::exception::tifLittleEndianCompatability);
    if (m_directory[2] != 42)
        raise(VELMO_LOCATION, core::exception::tifInvalidImage);
    std::int32_t nIfdOffset = LittleEndian::toInt32(m_directory, 4, 4);

    TiffPageImage page;
    std::set<std::int32_t> visited;
    for (std::int32_t nPage = 0;; ++nPage) {
        // A chain that comes back to an IFD it passed would never end.
        if (!visited.insert(nIfdOffset).second)
            raise(VELMO_LOCATION, core::exception::tifIfdReadError, "IFD loop");
        seek(nIfdOffset, IStream::seekBegin);
        if (readInput(2) < 2)
            raise(VELMO_LOCATION, core::exception::tifIfdFieldCountReadError);
        std::int32_t nEntryCount = LittleEndian::toInt32(m_directory, 0, 2);
        if (isSelected(nPage)) {
            std::int32_t nPosition = static_cast<std::int32_t>(m_pInput->getPosition());
            handlePage(nEntryCount, page);
            m_pOutput->flush();
            seek(nPosition + 12 * nEntryCount, IStream::seekBegin);
        } else {
            seek(nIfdOffset + 2 + 12 * nEntryCount, IStream::seekBegin);
        }
        if (readInput(4) < 4)
            raise(VELMO_LOCATION, core::exception::tifIfdNextOffsetReadError);
        nIfdOffset = LittleEndian::toInt32(m_directory, 0, 4);
        if (nIfdOffset == 0)
            break;
    }
}

void TiffBundler::handlePage(std::int32_t nEntryCount, TiffPageImage& page)
{
    std::int32_t nPosition = static_cast<std::int32_t>(m_pInput->getPosition());
    page.clear();
    if (nEntryCount > kMaximumEntries || readInput(12 * nEntryCount) < 12 * nEntryCount)
        raise(VELMO_LOCATION, core::exception::tifIfdReadError);

    for (std::int32_t i = 0; i < nEntryCount; ++i) {
        const unsigned char* pEntry = m_directory + 12 * i;
        std::int32_t nTag = LittleEndian::toInt32(pEntry, 0, 2);
        std::int32_t nType = LittleEndian::toInt32(pEntry, 2, 2);
        std::uint32_t nCount = static_cast<std::uint32_t>(LittleEndian::toInt32(pEntry, 4, 4));
        std::int32_t nValue = LittleEndian::toInt32(pEntry, 8, 4);
        std::int32_t nValueSize = TiffConstants::getDataTypeByteCount(nType);
        std::int64_t nBytes = static_cast<std::int64_t>(nCount) * nValueSize;
        // Out-of-line values must lie inside the input: a hostile count allocates nothing.
        bool bOutOfLine = nBytes > 4;
        if (bOutOfLine && (nBytes > m_nInputLength || static_cast<std::uint32_t>(nValue) > m_nInputLength - nBytes)) {
            BaseException error(VELMO_LOCATION, core::exception::unspecifiedError, 0, "unable to resolve multivalue data", "");
            error.addReference("tag", nTag);
            throw error;
        }
        TiffTag& tag = *page.addTag(nTag);
        tag.setDataType(nType);
        tag.setValueCount(static_cast<std::int32_t>(nCount), nValueSize);
        tag.setValueOffset(nValue);
        if (bOutOfLine)
            readTagValues(tag, nValue);
    }
    locateStrips(page);
    checkDimensions(page);
    seek(nPosition + 12 * nEntryCount, IStream::seekBegin);
    m_pGenerator->addTiffPage(page);
}

void TiffBundler::readTagValues(TiffTag& tag, std::int32_t nOffset)
{
    seek(nOffset, IStream::seekBegin);
    std::int32_t nBytes = tag.getValueCount() * tag.getValueSize();
    std::int32_t nTotal = 0;
    while (nTotal < nBytes) {
        std::int32_t nRead = m_pInput->readData(tag.getData(), nTotal, nBytes - nTotal);
        if (nRead <= 0) {
            BaseException error(VELMO_LOCATION, core::exception::unspecifiedError, 0, "unable to resolve multivalue data", "");
            error.addReference("tag", tag.getTagNumber());
            throw error;
        }
        nTotal += nRead;
    }
}

void TiffBundler::locateStrips(TiffPageImage& page)
{
    TiffTag* pOffsets = page.getTag(TiffConstants::tagStripOffsets);
    TiffTag* pCounts = page.getTag(TiffConstants::tagStripByteCounts);
    bool bTiles = false;
    if (!pOffsets) {
        pOffsets = page.getTag(TiffConstants::tagTileOffsets);
        bTiles = pOffsets != nullptr;
    }
    if (!pCounts) {
        pCounts = page.getTag(TiffConstants::tagTileByteCounts);
        bTiles = bTiles || pCounts != nullptr;
    }
    if (!pOffsets || !pCounts || (bTiles && (pOffsets->getValueCount() > 1 || pCounts->getValueCount() > 1)))
        raise(VELMO_LOCATION, core::exception::tifTagNotFound, "stripOffset");
    if (pOffsets->getValueCount() != pCounts->getValueCount())
        raise(VELMO_LOCATION, core::exception::tifTagStripOffsetAndByteCountMismatch);

    page.setStripStream(m_pInput);
    std::int32_t nStripCount = pOffsets->getValueCount();
    page.reserveStrips(nStripCount);
    for (std::int32_t i = 0; i < nStripCount; ++i) {
        std::int32_t nCount = nStripCount == 1 ? pCounts->getLong(0) : pCounts->getLong(i);
        std::int32_t nOffset = nStripCount == 1 ? pOffsets->getLong(0) : pOffsets->getLong(i);
        // A strip must lie inside the input.
        if (nCount < 0 || nOffset < 0 || static_cast<std::uint32_t>(nOffset) > m_nInputLength
            || static_cast<std::uint32_t>(nCount) > m_nInputLength - static_cast<std::uint32_t>(nOffset))
            raise(VELMO_LOCATION, core::exception::tifDataStreamReadError, "strip");
        page.addStrip(nCount, nOffset);
    }
}

// A page with no width, length, samples, bits per sample or rows per strip (a value of 0,
// or no value at all) is one that no reader opens, whatever it is turned into.
void TiffBundler::checkDimensions(const TiffPageImage& page)
{
    static constexpr struct {
        std::int32_t nTag;
        const char* pszName;
    } kDimensions[] = {
        {TiffConstants::tagImageWidth, "imageWidth"},       {TiffConstants::tagImageLength, "imageLength"},
        {TiffConstants::tagBitsPerSample, "bitsPerSample"}, {TiffConstants::tagSamplesPerPixel, "samplesPerPixel"},
        {TiffConstants::tagRowsPerStrip, "rowsPerStrip"},
    };
    for (const auto& dimension : kDimensions) {
        const TiffTag* pTag = page.getTag(dimension.nTag);
        if (!pTag)
            continue;
        bool bEmpty = pTag->getValueCount() == 0;
        for (std::int32_t i = 0; i < pTag->getValueCount() && !bEmpty; ++i)
            bEmpty = pTag->getLong(i) == 0;
        if (bEmpty)
            raise(VELMO_LOCATION, core::exception::tifInvalidImage, dimension.pszName);
    }
}

}
