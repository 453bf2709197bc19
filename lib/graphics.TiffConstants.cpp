#include "lib/graphics.TiffConstants.h"

#include "core/exception.InvalidParameterException.h"

namespace velmo::lib::graphics {

std::int32_t TiffConstants::getDataTypeByteCount(std::int32_t nTagType)
{
    switch (nTagType) {
    case typeByte:
    case typeAscii:
    case typeSByte:
    case typeUndefined:
        return 1;
    case typeShort:
    case typeSShort:
        return 2;
    case typeLong:
    case typeSLong:
    case typeFloat:
        return 4;
    case typeRational:
    case typeSRational:
    case typeDouble:
        return 8;
    }
    throw core::exception::InvalidParameterException(VELMO_LOCATION, core::exception::invalidParameter, "nTagType", nTagType);
}

}
