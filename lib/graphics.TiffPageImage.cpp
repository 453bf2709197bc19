#include "lib/graphics.TiffPageImage.h"

#include "core/exception.NullPointerException.h"
#include "core/object.ObjectFactory.h"
#include "lib/graphics.TiffConstants.h"

#include <cstdint>
#include <initializer_list>

namespace velmo::lib::graphics {

using core::exception::BaseException;

TiffPageImage::TiffPageImage() = default;

TiffPageImage::~TiffPageImage()
{
    releaseAll(m_tags);
    releaseAll(m_pool);
}

void TiffPageImage::releaseAll(core::collections::PointerArray<TiffTag>& tags)
{
    for (std::int32_t i = tags.getCount() - 1; i >= 0; --i)
        tags.getItem(i)->release();
    tags.setCount(0);
}

std::int32_t TiffPageImage::findIndex(std::int32_t nNumber) const
{
    std::int32_t nLow = 0, nHigh = m_tags.getCount();
    while (nLow < nHigh) {
        std::int32_t nMiddle = nLow + (nHigh - nLow) / 2;
        if (m_tags.getItem(nMiddle)->getTagNumber() < nNumber)
            nLow = nMiddle + 1;
        else
            nHigh = nMiddle;
    }
    return nLow;
}

TiffTag* TiffPageImage::getTag(std::int32_t nNumber) const
{
    std::int32_t nIndex = findIndex(nNumber);
    if (nIndex < m_tags.getCount() && m_tags.getItem(nIndex)->getTagNumber() == nNumber)
        return m_tags.getItem(nIndex);
    return nullptr;
}

TiffTag* TiffPageImage::addTag(std::int32_t nNumber)
{
    std::int32_t nIndex = findIndex(nNumber);
    if (nIndex < m_tags.getCount() && m_tags.getItem(nIndex)->getTagNumber() == nNumber)
        return m_tags.getItem(nIndex);
    TiffTag* pTag = nullptr;
    for (std::int32_t i = 0; i < m_pool.getCount() && !pTag; ++i) {
        if (m_pool.getItem(i)->getTagNumber() == nNumber) {
            pTag = m_pool.getItem(i);
            m_pool.removeItem(i);
        }
    }
    if (!pTag) {
        pTag = core::object::ObjectFactory<TiffTag>::getInstance()->create();
        pTag->setTagNumber(nNumber);
    }
    // Open the sorted place: the tags above it move up by one.
    std::int32_t nCount = m_tags.getCount();
    m_tags.setCount(nCount + 1);
    for (std::int32_t i = nCount; i > nIndex; --i)
        m_tags.setItem(i, m_tags.getItem(i - 1));
    m_tags.setItem(nIndex, pTag);
    return pTag;
}

void TiffPageImage::removeTag(std::int32_t nNumber)
{
    std::int32_t nIndex = findIndex(nNumber);
    if (nIndex < m_tags.getCount() && m_tags.getItem(nIndex)->getTagNumber() == nNumber) {
        m_pool.add(m_tags.getItem(nIndex));
        m_tags.removeItem(nIndex);
    }
}

void TiffPageImage::clear()
{
    for (std::int32_t i = 0; i < m_tags.getCount(); ++i)
        m_pool.add(m_tags.getItem(i));
    m_tags.setCount(0);
    m_stripByteCounts.setCount(0);
    m_stripOffsets.setCount(0);
}

void TiffPageImage::addStrip(std::int32_t nByteCount, std::int32_t nOffset)
{
    m_stripByteCounts.add(nByteCount);
    m_stripOffsets.add(nOffset);
}

void TiffPageImage::reserveStrips(std::int32_t nCount)
{
    // The lists keep their storage when they shrink back.
    const std::int32_t nStrips = getStripCount();
    for (auto* pList : {&m_stripByteCounts, &m_stripOffsets}) {
        pList->setCount(nStrips + nCount);
        pList->setCount(nStrips);
    }
}

void TiffPageImage::setStripStream(core::io::IStream* pStream)
{
    if (pStream && !pStream->canSeek())
        throw BaseException(VELMO_LOCATION, core::exception::tifStripStreamUnseekable, 0, "", "");
    m_pStripStream = pStream;
}

TiffTag* TiffPageImage::getRequiredTag(std::int32_t nNumber) const
{
    TiffTag* pTag = getTag(nNumber);
    if (!pTag)
        throw BaseException(VELMO_LOCATION, core::exception::tifTagNotFound, nNumber, "", "");
    return pTag;
}

std::int32_t TiffPageImage::getLongValue(std::int32_t nNumber) const
{
    return getRequiredTag(nNumber)->getLong(0);
}

void TiffPageImage::setLongValue(std::int32_t nNumber, std::int32_t nValue)
{
    TiffTag* pTag = getRequiredTag(nNumber);
    if (pTag->getDataType() != TiffConstants::typeShort || nValue < 0 || nValue > 0xFFFF)
        pTag->setDataType(TiffConstants::typeLong);
    pTag->setValueCount(1, TiffConstants::getDataTypeByteCount(pTag->getDataType()));
    pTag->setValueOffset(nValue);
}

std::int32_t TiffPageImage::getBitsPerPixel() const
{
    const TiffTag* pTag = getRequiredTag(TiffConstants::tagBitsPerSample);
    if (pTag->getValueCount() == 0)
        return pTag->getValueOffset();
    // Hostile counts must not overflow the sum: anything beyond 32 bits of range is no image.
    std::int64_t nBits = 0;
    for (std::int32_t i = 0; i < pTag->getValueCount(); ++i) {
        nBits += static_cast<std::uint32_t>(pTag->getLong(i));
        if (nBits > INT32_MAX)
            throw BaseException(VELMO_LOCATION, core::exception::tifInvalidImage, 0, "bits per sample", "");
    }
    return static_cast<std::int32_t>(nBits);
}

void TiffPageImage::saveData(std::int32_t nOffset, std::int32_t nLength, core::io::IStream* pOut, bool bInvert)
{
    if (!m_pStripStream)
        throw core::exception::NullPointerException(VELMO_LOCATION, core::exception::nullPointer, 0, "strip stream");
    if (!m_pStripStream->seek(nOffset, core::io::IStream::seekBegin))
        throw BaseException(VELMO_LOCATION, core::exception::tifDataPositionSeekError, 0, "", "");
    while (nLength > 0) {
        std::int32_t nWanted = nLength < static_cast<std::int32_t>(sizeof(m_copyBuffer)) ? nLength : static_cast<std::int32_t>(sizeof(m_copyBuffer));
        std::int32_t nRead = m_pStripStream->readData(m_copyBuffer, 0, nWanted);
        if (nRead <= 0)
            throw BaseException(VELMO_LOCATION, core::exception::tifDataStreamReadError, 0, "", "");
        if (bInvert) {
            for (std::int32_t i = 0; i < nRead; ++i)
                m_copyBuffer[i] = static_cast<unsigned char>(~m_copyBuffer[i]);
        }
        pOut->writeData(m_copyBuffer, 0, nRead);
        nLength -= nRead;
    }
}

void TiffPageImage::saveStrip(std::int32_t nIndex, core::io::IStream* pOut, bool bInvert)
{
    saveData(getStripOffset(nIndex), getStripByteCount(nIndex), pOut, bInvert);
}

}
