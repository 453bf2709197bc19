#include "core/io.IStream.h"

#include "core/exception.UnsupportedException.h"

namespace velmo::core::io {

std::int32_t IStream::readData(unsigned char*, std::int32_t, std::int32_t)
{
    throw exception::UnsupportedException(VELMO_LOCATION, exception::unsupported, 0, "");
}

}
