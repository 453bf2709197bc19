#include "codec/codec.TiffDirectory.h"

#include <algorithm>

namespace velmo::codec {

namespace {

constexpr std::size_t kFirstDirectoryOffsetPosition = 4;
// Resolution written when a bitmap states none: the fax fine resolution.
constexpr std::uint32_t kDefaultDotsPerInch = 200;

void appendLittleEndian(std::vector<unsigned char>& bytes, std::uint32_t nValue, int nSize)
{
    for (int i = 0; i < nSize; ++i)
        bytes.push_back(static_cast<unsigned char>(nValue >> (8 * i)));
}

std::uint32_t toDotsPerInch(std::int32_t nPelsPerMeter)
{
    if (nPelsPerMeter <= 0)
        return kDefaultDotsPerInch;
    return static_cast<std::uint32_t>((static_cast<std::int64_t>(nPelsPerMeter) * 254 + 5000) / 10000);
}

}

TiffDirectory::TiffDirectory(ByteSink& sink) : m_sink(sink)
{
    m_sink.putBytes("II", 2);
    m_sink.putUint16(42);
    m_sink.putUint32(0);
}

void TiffDirectory::addField(TiffTag tag, FieldType type, std::uint32_t nCount, std::vector<unsigned char> value)
{
    m_fields.push_back(Field{tag, type, nCount, std::move(value)});
}

void TiffDirectory::addShorts(TiffTag tag, std::vector<std::uint16_t> values)
{
    std::vector<unsigned char> bytes;
    for (std::uint16_t nValue : values)
        appendLittleEndian(bytes, nValue, 2);
    addField(tag, typeShort, static_cast<std::uint32_t>(values.size()), std::move(bytes));
}

void TiffDirectory::addLongs(TiffTag tag, std::vector<std::uint32_t> values)
{
    std::vector<unsigned char> bytes;
    for (std::uint32_t nValue : values)
        appendLittleEndian(bytes, nValue, 4);
    addField(tag, typeLong, static_cast<std::uint32_t>(values.size()), std::move(bytes));
}

void TiffDirectory::addRational(TiffTag tag, std::uint32_t nNumerator, std::uint32_t nDenominator)
{
    std::vector<unsigned char> bytes;
    appendLittleEndian(bytes, nNumerator, 4);
    appendLittleEndian(bytes, nDenominator, 4);
    addField(tag, typeRational, 1, std::move(bytes));
}

void TiffDirectory::addResolution(std::int32_t nXPelsPerMeter, std::int32_t nYPelsPerMeter)
{
    addRational(tagXResolution, toDotsPerInch(nXPelsPerMeter), 1);
    addRational(tagYResolution, toDotsPerInch(nYPelsPerMeter), 1);
    addShort(tagResolutionUnit, 2);
}

void TiffDirectory::finish()
{
    std::stable_sort(m_fields.begin(), m_fields.end(), [](const Field& a, const Field& b) { return a.nTag < b.nTag; });
    // Values longer than the entry's 4 bytes go before the directory, each at a word boundary.
    std::vector<std::uint32_t> valueOffsets;
    for (const Field& field : m_fields) {
        std::uint32_t nOffset = 0;
        if (field.value.size() > 4) {
            m_sink.alignToWord();
            nOffset = static_cast<std::uint32_t>(m_sink.getPosition());
            m_sink.putBytes(field.value.data(), field.value.size());
        }
        valueOffsets.push_back(nOffset);
    }
    m_sink.alignToWord();
    m_sink.patchUint32(kFirstDirectoryOffsetPosition, static_cast<std::uint32_t>(m_sink.getPosition()));
    m_sink.putUint16(static_cast<unsigned>(m_fields.size()));
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const Field& field = m_fields[i];
        m_sink.putUint16(field.nTag);
        m_sink.putUint16(field.nType);
        m_sink.putUint32(field.nCount);
        if (field.value.size() > 4) {
            m_sink.putUint32(valueOffsets[i]);
        } else {
            unsigned char* p = m_sink.extend(4);
            std::fill(p, p + 4, 0);
            std::copy(field.value.begin(), field.value.end(), p);
        }
    }
    m_sink.putUint32(0);
}

}
