#ifndef VELMO_LIB_GRAPHICS_WRITEONLYSTREAM_H
#define VELMO_LIB_GRAPHICS_WRITEONLYSTREAM_H

#include "core/io.IStream.h"

#include <cstdint>

namespace velmo::lib::graphics {

// The stream side shared by the coders and filters: data is only ever pushed in, and
// whatever concerns the written result goes to the downstream stream when one is
// connected. Reading throws unsupported (IStream's default).
template <typename Base>
class WriteOnlyStream : public Base {
public:
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    bool seek(std::int32_t, std::int32_t) override { return false; }
    bool canWrite() override { return m_pDownstream && m_pDownstream->canWrite(); }
    std::uint32_t getPosition() override { return m_pDownstream ? m_pDownstream->getPosition() : 0xFFFFFFFFu; }
    void flush() override
    {
        if (m_pDownstream)
            m_pDownstream->flush();
    }
    void close() override
    {
        flush();
        if (m_pDownstream)
            m_pDownstream->close();
    }

protected:
    core::io::IStream* m_pDownstream = nullptr;
};

}

#endif
