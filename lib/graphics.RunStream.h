#ifndef VELMO_LIB_GRAPHICS_RUNSTREAM_H
#define VELMO_LIB_GRAPHICS_RUNSTREAM_H

#include "core/collections.SimpleTypeArray.h"
#include "core/io.IStream.h"

#include <cstdint>

// The run stream that the coders and filters exchange: 16-bit little-endian values, each
// line a list of run lengths alternating white and black (beginning with white), closed
// by the value 0xFFFF.
namespace velmo::lib::graphics {

inline constexpr std::uint32_t kEndOfLineValue = 0xFFFF;
inline constexpr std::int32_t kMaxRunValue = 0xFFFE;
// Widest line any coder takes: every run of a line then fits one value.
inline constexpr std::int32_t kMaxLineWidth = kMaxRunValue;

// Raises invalidParameter naming "nWidth" unless 1 <= nWidth <= kMaxLineWidth.
void checkLineWidth(std::int32_t nWidth);

// A consumer of the run stream that also takes a whole line as its changing elements,
// which spares a decoder that holds them writing runs and the consumer reading them back.
class IChangingElementSink {
public:
    // A line as the positions where its colour changes, the first change being to black:
    // nCount ascending positions, none past the width, the last one the width. Called only
    // between lines of the run stream.
    virtual void writeChangingElements(const std::int32_t* pElements, std::int32_t nCount) = 0;

protected:
    ~IChangingElementSink() = default;
};

// Joins the 2-byte values of a run stream from buffers of any length, a value split
// across two buffers included.
class RunValueReader {
public:
    void reset() { m_bPending = false; }

    template <typename Visit>
    void read(const unsigned char* pData, std::int32_t nCount, Visit&& visit)
    {
        if (nCount <= 0)
            return;
        if (m_bPending) {
            m_bPending = false;
            visit(static_cast<std::uint32_t>(m_nLowByte | (pData[0] << 8)));
            ++pData;
            --nCount;
        }
        for (; nCount >= 2; pData += 2, nCount -= 2)
            visit(static_cast<std::uint32_t>(pData[0] | (pData[1] << 8)));
        if (nCount == 1) {
            m_nLowByte = pData[0];
            m_bPending = true;
        }
    }

private:
    bool m_bPending = false;
    unsigned char m_nLowByte = 0;
};

// Collects the values of one line and writes them downstream in one call at its end.
class RunLineWriter {
public:
    void setStream(core::io::IStream* pOut);
    core::io::IStream* getStream() const { return m_pOut; }

    // A run longer than one value goes out as pieces joined by empty runs of the other
    // colour.
    void writeRun(std::int32_t nRun)
    {
        while (nRun > kMaxRunValue) {
            writeValue(kMaxRunValue);
            writeValue(0);
            nRun -= kMaxRunValue;
        }
        writeValue(static_cast<std::uint32_t>(nRun));
    }
    // Room for nValues values of at most kMaxRunValue, to be filled and then committed.
    unsigned char* reserve(std::int32_t nValues)
    {
        while (m_nFill + 2 * nValues > m_buffer.getCount())
            grow();
        return m_buffer.getData() + m_nFill;
    }
    void commit(std::int32_t nValues) { m_nFill += 2 * nValues; }
    // Appends 0xFFFF and writes the line nTimes.
    void endLine(std::int32_t nTimes = 1);

private:
    void writeValue(std::uint32_t nValue)
    {
        if (m_nFill + 2 > m_buffer.getCount())
            grow();
        unsigned char* pSlot = m_buffer.getData() + m_nFill;
        pSlot[0] = static_cast<unsigned char>(nValue);
        pSlot[1] = static_cast<unsigned char>(nValue >> 8);
        m_nFill += 2;
    }
    void grow();

    core::io::IStream* m_pOut = nullptr;
    core::collections::SimpleTypeArray<unsigned char> m_buffer{256};
    std::int32_t m_nFill = 0;
};

}

#endif
