#include "codec/codec.LzwEncoder.h"

#include <algorithm>

namespace velmo::codec {

LzwEncoder::LzwEncoder(ByteSink& sink) : m_sink(sink), m_keys(kHashSize), m_codes(kHashSize)
{
    putCode(kClearCode);
}

void LzwEncoder::resetTable()
{
    std::fill(m_keys.begin(), m_keys.end(), 0);
    m_nNextCode = kFirstFreeCode;
    m_nBits = kMinBits;
}

void LzwEncoder::putCode(std::uint32_t nCode)
{
    m_nBitBuffer = m_nBitBuffer << m_nBits | nCode;
    m_nBitCount += m_nBits;
    while (m_nBitCount >= 8) {
        m_nBitCount -= 8;
        m_sink.putByte(static_cast<unsigned>(m_nBitBuffer >> m_nBitCount) & 0xFF);
    }
}

void LzwEncoder::addEntry()
{
    ++m_nNextCode;
    if (m_nNextCode == (1u << kMaxBits) - 2) {
        putCode(kClearCode);
        resetTable();
    } else if (m_nNextCode > (1u << m_nBits) - 1) {
        ++m_nBits;
    }
}

void LzwEncoder::encode(const unsigned char* pData, std::size_t nByteCount)
{
    std::size_t i = 0;
    if (m_nPrefix == kNoCode && nByteCount > 0)
        m_nPrefix = pData[i++];
    for (; i < nByteCount; ++i) {
        const std::uint32_t nKey = (m_nPrefix << 8 | pData[i]) + 1;
        std::uint32_t nSlot = (nKey * 2654435761u) >> (32 - 14);
        while (m_keys[nSlot] && m_keys[nSlot] != nKey)
            nSlot = (nSlot + 1) & (kHashSize - 1);
        if (m_keys[nSlot]) {
            m_nPrefix = m_codes[nSlot];
            continue;
        }
        // The string is new: emit its longest known prefix, enter it, restart from the byte.
        putCode(m_nPrefix);
        m_keys[nSlot] = nKey;
        m_codes[nSlot] = static_cast<std::uint16_t>(m_nNextCode);
        addEntry();
        m_nPrefix = pData[i];
    }
}

void LzwEncoder::finish()
{
    if (m_nPrefix != kNoCode) {
        putCode(m_nPrefix);
        addEntry();
    }
    putCode(kEndOfInformation);
    if (m_nBitCount > 0)
        m_sink.putByte(static_cast<unsigned>(m_nBitBuffer << (8 - m_nBitCount)) & 0xFF);
    m_nBitCount = 0;
}

}
