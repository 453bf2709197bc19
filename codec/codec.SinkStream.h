#ifndef VELMO_CODEC_SINKSTREAM_H
#define VELMO_CODEC_SINKSTREAM_H

#include "codec/codec.ByteSink.h"
#include "core/io.IStream.h"

namespace velmo::codec {

// The library's stream interface over a ByteSink, so that the graphics library's coders
// write straight into a request's output area.
class SinkStream : public core::io::IStream {
public:
    explicit SinkStream(ByteSink& sink) : m_sink(sink) {}

    bool canWrite() override { return true; }
    bool canRead() override { return false; }
    bool canSeek() override { return false; }
    std::uint32_t getPosition() override { return static_cast<std::uint32_t>(m_sink.getPosition()); }
    bool seek(std::int32_t, std::int32_t) override { return false; }
    void writeData(const unsigned char* pBuffer, std::int32_t nOffset, std::int32_t nByteCount) override
    {
        if (nByteCount > 0)
            m_sink.putBytes(pBuffer + nOffset, static_cast<std::size_t>(nByteCount));
    }
    void flush() override {}
    void close() override {}

private:
    ByteSink& m_sink;
};

}

#endif
