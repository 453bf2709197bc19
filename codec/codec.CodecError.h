#ifndef VELMO_CODEC_CODECERROR_H
#define VELMO_CODEC_CODECERROR_H

#include <cstdint>

namespace velmo::codec {

// A module's failure; the phase runner puts the status into the block.
class CodecError {
public:
    explicit CodecError(std::int32_t nStatus) : m_nStatus(nStatus) {}
    std::int32_t getStatus() const { return m_nStatus; }

private:
    std::int32_t m_nStatus;
};

}

#endif
