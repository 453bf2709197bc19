#ifndef VELMO_CODEC_MODULEREQUEST_H
#define VELMO_CODEC_MODULEREQUEST_H

#include "codec/codec.ParameterBlock.h"

#include <cstddef>
#include <cstdint>

// What every module shares: its phase protocol, its failure channel, and the validated
// views of the request's input and output.
namespace velmo::codec {

// A module's failure; the phase runner puts the status into the block.
class CodecError {
public:
    explicit CodecError(std::int32_t nStatus) : m_nStatus(nStatus) {}
    std::int32_t getStatus() const { return m_nStatus; }

private:
    std::int32_t m_nStatus;
};

// Widest and tallest image any module takes.
inline constexpr std::int32_t kMaxDimension = 65535;

// A bottom-up bitmap in memory; rows are addressed top-down as they are seen.
class DibView {
public:
    DibView(unsigned char* pBits, std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount);

    // Bytes per row, padded to 4; throws invalid parameter for sizes out of range.
    static std::size_t computeStride(std::int32_t nWidth, std::int32_t nBitCount);
    // Bytes of the whole image; throws invalid parameter when it does not fit 31 bits.
    static std::size_t computeImageSize(std::int32_t nWidth, std::int32_t nHeight, std::int32_t nBitCount);

    unsigned char* getRow(std::int32_t nTopDownRow) const
    {
        return m_pBits + static_cast<std::size_t>(m_nHeight - 1 - nTopDownRow) * m_nStride;
    }
    std::int32_t getWidth() const { return m_nWidth; }
    std::int32_t getHeight() const { return m_nHeight; }
    std::int32_t getBitCount() const { return m_nBitCount; }
    std::size_t getStride() const { return m_nStride; }
    std::size_t getImageSize() const { return m_nStride * static_cast<std::size_t>(m_nHeight); }

private:
    unsigned char* m_pBits;
    std::int32_t m_nWidth;
    std::int32_t m_nHeight;
    std::int32_t m_nBitCount;
    std::size_t m_nStride;
};

// The request's input image: the block's header over the input queue's data. Throws
// unsupported depth unless the depth is one of nAcceptedDepths (a bit set of 1 << depth).
DibView getInputImage(const ParameterBlock& block, std::uint32_t nAcceptedDepths);

// The free space of the output queue.
class OutputArea {
public:
    explicit OutputArea(ParameterBlock& block);

    // The next nByteCount bytes; throws output too small when they do not fit.
    unsigned char* reserve(std::size_t nByteCount) const;
    // Appends nByteCount written bytes to the queue's data.
    void commit(std::size_t nByteCount);
    std::size_t getFreeSpace() const;

private:
    ByteQueue& m_queue;
};

// Asks the block's yield callback whether to go on; an interruption marks the request
// and throws.
void yieldToCaller(ParameterBlock& block);

// The phase protocol of a module whose work is all done in the execute phase.
using ExecuteFunction = void (*)(ParameterBlock& block);
std::int32_t runModulePhase(ParameterBlock& block, std::int32_t nPhase, ExecuteFunction pfnExecute);

inline constexpr std::uint32_t depthBit(std::int32_t nDepth)
{
    return 1u << nDepth;
}

}

#endif
