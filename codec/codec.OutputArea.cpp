#include "codec/codec.OutputArea.h"

#include "codec/codec.CodecError.h"

namespace velmo::codec {

OutputArea::OutputArea(ParameterBlock& block) : m_queue(block.output)
{
    unsigned char* pWrite = m_queue.write.get();
    unsigned char* pEnd = m_queue.end.get();
    if (!pWrite || !pEnd || pEnd < pWrite)
        throw CodecError(statusOutputTooSmall);
}

std::size_t OutputArea::getFreeSpace() const
{
    return static_cast<std::size_t>(m_queue.end.get() - m_queue.write.get());
}

unsigned char* OutputArea::reserve(std::size_t nByteCount) const
{
    if (nByteCount > getFreeSpace())
        throw CodecError(statusOutputTooSmall);
    return m_queue.write.get();
}

void OutputArea::commit(std::size_t nByteCount)
{
    m_queue.write.set(reserve(nByteCount) + nByteCount);
}

}
