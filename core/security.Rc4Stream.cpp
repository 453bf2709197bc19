#include "core/security.Rc4Stream.h"

#include "core/collections.ArrayErrors.h"
#include "core/exception.InvalidParameterException.h"

#include <cstring>

namespace velmo::core::security {

void Rc4Stream::setStream(io::IStream* pInner, const unsigned char* pKey, std::int32_t nKeyLength)
{
    if (nKeyLength < 1)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nKeyLength", nKeyLength);
    m_pInner = pInner;
    m_key.setCount(nKeyLength);
    std::memcpy(m_key.getData(), pKey, static_cast<std::size_t>(nKeyLength));
    // The key schedule.
    m_state.setCount(kStateSize);
    unsigned char* s = m_state.getData();
    for (std::int32_t k = 0; k < kStateSize; ++k)
        s[k] = static_cast<unsigned char>(k);
    unsigned char j = 0;
    for (std::int32_t k = 0; k < kStateSize; ++k) {
        j = static_cast<unsigned char>(j + s[k] + pKey[k % nKeyLength]);
        unsigned char nSwap = s[k];
        s[k] = s[j];
        s[j] = nSwap;
    }
    m_i = m_j = 0;
}

void Rc4Stream::crypt(const unsigned char* pSource, std::int32_t nSourceOffset, unsigned char* pTarget,
                      std::int32_t nTargetOffset, std::int32_t nCount)
{
    if (nCount < 1)
        return;
    if (m_state.getCount() != kStateSize)
        collections::raiseNullSlot(VELMO_LOCATION);
    unsigned char* s = m_state.getData();
    unsigned char i = m_i;
    unsigned char j = m_j;
    for (std::int32_t n = 0; n < nCount; ++n) {
        i = static_cast<unsigned char>(i + 1);
        j = static_cast<unsigned char>(j + s[i]);
        unsigned char nSwap = s[i];
        s[i] = s[j];
        s[j] = nSwap;
        pTarget[nTargetOffset + n] = pSource[nSourceOffset + n] ^ s[static_cast<unsigned char>(s[i] + s[j])];
    }
    m_i = i;
    m_j = j;
}

void Rc4Stream::rc4Crypt(const unsigned char* pKey, std::int32_t nKeyLength, const unsigned char* pSource,
                         std::int32_t nSourceOffset, unsigned char* pTarget, std::int32_t nTargetOffset,
                         std::int32_t nCount)
{
    Rc4Stream cipher;
    cipher.setStream(nullptr, pKey, nKeyLength);
    cipher.crypt(pSource, nSourceOffset, pTarget, nTargetOffset, nCount);
}

std::int32_t Rc4Stream::readData(unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    std::int32_t nRead = m_pInner->readData(pBuffer, nOffset, nByteCount);
    crypt(pBuffer, nOffset, pBuffer, nOffset, nRead);
    return nRead;
}

void Rc4Stream::writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount)
{
    if (nByteCount < 0)
        throw exception::InvalidParameterException(VELMO_LOCATION, exception::invalidParameter, "nByteCount", nByteCount);
    if (nByteCount == 0) {
        if (m_work.getCount() == 0)
            collections::raiseIndexOutOfBounds(VELMO_LOCATION, 0);
        return;
    }
    if (m_work.getCount() < nByteCount)
        m_work.setCount(nByteCount);
    crypt(pBuffer, nOffset, m_work.getData(), 0, nByteCount);
    m_pInner->writeData(m_work.getData(), 0, nByteCount);
}

}
