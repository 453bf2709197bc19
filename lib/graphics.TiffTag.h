#ifndef VELMO_LIB_GRAPHICS_TIFFTAG_H
#define VELMO_LIB_GRAPHICS_TIFFTAG_H

#include "core/object.Object.h"

#include <cstdint>

namespace velmo::lib::graphics {

// One IFD entry: tag number, field type, count, the value/offset field as read or to be
// written, and all values in a little-endian buffer of its own.
class TiffTag : public core::object::Object {
public:
    TiffTag() = default;
    TiffTag(const TiffTag&) = delete;
    TiffTag& operator=(const TiffTag&) = delete;
    ~TiffTag() override;

    std::int32_t getTagNumber() const { return m_nTagNumber; }
    void setTagNumber(std::int32_t nTagNumber) { m_nTagNumber = nTagNumber; }
    std::int32_t getDataType() const { return m_nDataType; }
    void setDataType(std::int32_t nDataType) { m_nDataType = nDataType; }
    std::int32_t getValueCount() const { return m_nValueCount; }
    std::int32_t getValueSize() const { return m_nValueSize; }
    std::int32_t getValueOffset() const { return m_nValueOffset; }
    unsigned char* getData() { return m_pData; }
    const unsigned char* getData() const { return m_pData; }
    std::int32_t getCapacity() const { return m_nCapacity; }

    // Sets both; a buffer smaller than count x size is replaced (its contents dropped).
    // A negative count or size, or a product past 32 bits, raises invalidParameter.
    void setValueCount(std::int32_t nValueCount, std::int32_t nValueSize);
    // When all values fit the field (at most 4 bytes) they are the field: the buffer
    // gets the same bytes.
    void setValueOffset(std::int32_t nValue);

    const unsigned char* getValue(std::int32_t nIndex) const;
    std::int32_t getLong(std::int32_t nIndex) const;
    void setLong(std::int32_t nIndex, std::int32_t nValue);
    // The numerator is the first four bytes of a rational value.
    std::int32_t getRationalTop(std::int32_t nIndex) const { return getLong(nIndex); }
    std::int32_t getRationalBottom(std::int32_t nIndex) const;
    void setRationalTop(std::int32_t nIndex, std::int32_t nValue) { setLong(nIndex, nValue); }
    void setRationalBottom(std::int32_t nIndex, std::int32_t nValue);

private:
    std::int32_t checkedOffset(std::int32_t nIndex) const;
    std::int32_t wordLength() const { return m_nValueSize < 4 ? m_nValueSize : 4; }

    std::int32_t m_nTagNumber = 0;
    std::int32_t m_nDataType = 0;
    std::int32_t m_nValueOffset = 0;
    unsigned char* m_pData = nullptr;
    std::int32_t m_nCapacity = 0;
    std::int32_t m_nValueCount = 0;
    std::int32_t m_nValueSize = 0;
};

}

#endif
