#include "core/io.BufferedStream.h"

#include "core/exception.InvalidParameterException.h"
#include "core/exception.NullPointerException.h"
#include "core/exception.UnsupportedException.h"
#include "core/object.Heap.h"

#include <cstring>

namespace velmo::core::io {

namespace {

void checkBuffer(const exception::Location& location, const unsigned char* pBuffer)
{
    if (!pBuffer)
        throw exception::NullPointerException(location, exception::nullPointer, 0, "");
}

void checkByteCount(const exception::Location& location, std::int32_t nByteCount)
{
    if (nByteCount < 0)
        throw exception::InvalidParameterException(location, exception::invalidParameter, "nByteCount", nByteCount);
}

}

BufferedStream::~BufferedStream()
{
    detach();
}

void BufferedStream::freeBuffers()
{
    object::Heap::freeMemory(m_pWriteBuffer, false);
    object::Heap::freeMemory(m_pReadBuffer, false);
    m_pWriteBuffer = m_pReadBuffer = nullptr;
    m_nPendingWrite = m_nReadPosition = m_nReadFill = 0;
}

void BufferedStream::detach()
{
    if (m_pInner && m_pWriteBuffer) {
        try {
            flush();
        } catch (...) {
        }
    }
    freeBuffers();
    m_pInner = nullptr;
}

void BufferedStream::setStream(IStream* pInner, std::int32_t nBufferSize)
{
    detach();
    if (nBufferSize <= 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nBufferSize", nBufferSize);
    m_pInner = pInner;
    m_nBufferSize = nBufferSize;
    m_pReadBuffer = static_cast<unsigned char*>(object::Heap::allocateChecked(nBufferSize, false));
    m_pWriteBuffer = static_cast<unsigned char*>(object::Heap::allocateChecked(nBufferSize, false));
}

std::uint32_t BufferedStream::getPosition()
{
    checkBuffer(VELMO_LOCATION, m_pWriteBuffer);
    return m_pInner->getPosition() + static_cast<std::uint32_t>(m_nReadPosition - m_nReadFill)
        + static_cast<std::uint32_t>(m_nPendingWrite);
}

bool BufferedStream::seek(std::int32_t nOffset, std::int32_t nSeekOrigin)
{
    if (nSeekOrigin == seekCurrent)
        throw exception::UnsupportedException(VELMO_LOCATION, exception::bufferedStreamCurrentPositionSeekError, 0, "");
    if (nSeekOrigin != seekBegin && nSeekOrigin != seekEnd)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nSeekOrigin", nSeekOrigin);
    flush();
    if (!m_pInner->seek(nOffset, nSeekOrigin))
        return false;
    m_nReadPosition = m_nReadFill = 0;
    return true;
}

std::int32_t BufferedStream::readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    checkBuffer(VELMO_LOCATION, m_pReadBuffer);
    checkByteCount(VELMO_LOCATION, nByteCount);
    std::int32_t nCopied = 0;
    while (nCopied < nByteCount) {
        if (m_nReadPosition == m_nReadFill) {
            m_nReadFill = m_pInner->readData(m_pReadBuffer, 0, m_nBufferSize);
            m_nReadPosition = 0;
            if (m_nReadFill <= 0) {
                m_nReadFill = 0;
                break;
            }
        }
        std::int32_t nAvailable = m_nReadFill - m_nReadPosition;
        std::int32_t nCount = nByteCount - nCopied < nAvailable ? nByteCount - nCopied : nAvailable;
        std::memcpy(pBuffer + nOffset + nCopied, m_pReadBuffer + m_nReadPosition, static_cast<std::size_t>(nCount));
        m_nReadPosition += nCount;
        nCopied += nCount;
    }
    return nCopied;
}

void BufferedStream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    checkBuffer(VELMO_LOCATION, m_pWriteBuffer);
    checkByteCount(VELMO_LOCATION, nByteCount);
    std::int32_t nWritten = 0;
    while (nWritten < nByteCount) {
        std::int32_t nRoom = m_nBufferSize - m_nPendingWrite;
        std::int32_t nCount = nByteCount - nWritten < nRoom ? nByteCount - nWritten : nRoom;
        std::memcpy(m_pWriteBuffer + m_nPendingWrite, pBuffer + nOffset + nWritten, static_cast<std::size_t>(nCount));
        m_nPendingWrite += nCount;
        nWritten += nCount;
        if (m_nPendingWrite == m_nBufferSize)
            flush();
    }
}

void BufferedStream::flush()
{
    checkBuffer(VELMO_LOCATION, m_pWriteBuffer);
    if (m_nPendingWrite > 0) {
        std::int32_t nPending = m_nPendingWrite;
        m_nPendingWrite = 0;
        m_pInner->writeData(m_pWriteBuffer, 0, nPending);
    }
    m_pInner->flush();
}

void BufferedStream::close()
{
    if (m_pWriteBuffer)
        flush();
    freeBuffers();
    if (m_pInner)
        m_pInner->close();
}

}
