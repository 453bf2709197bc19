#ifndef VELMO_LIB_GRAPHICS_TIFFPAGEIMAGE_H
#define VELMO_LIB_GRAPHICS_TIFFPAGEIMAGE_H

#include "core/collections.PointerArray.h"
#include "core/collections.SimpleTypeArray.h"
#include "core/io.IStream.h"
#include "lib/graphics.TiffTag.h"

namespace velmo::lib::graphics {

// One TIFF page: its tags, sorted by number, and where its strips lie in a seekable
// source stream. Made once per reader and reused for every page: removed tags wait in a
// pool and are handed out again, buffer and all, when their number recurs.
class TiffPageImage : public core::object::Object {
public:
    TiffPageImage();
    TiffPageImage(const TiffPageImage&) = delete;
    TiffPageImage& operator=(const TiffPageImage&) = delete;
    ~TiffPageImage() override;

    TiffTag* getTag(std::int32_t nNumber) const;
    // The tag with that number: the page's own, else a pooled one, else a new one.
    TiffTag* addTag(std::int32_t nNumber);
    void removeTag(std::int32_t nNumber);
    std::int32_t getTagCount() const { return m_tags.getCount(); }
    TiffTag* getTagAt(std::int32_t nIndex) const { return m_tags.getItem(nIndex); }
    // All tags to the pool, no strips: ready for the next page.
    void clear();

    void addStrip(std::int32_t nByteCount, std::int32_t nOffset);
    // Makes room for nCount more strips in one step, so that adding a page's many strips
    // does not copy the strip lists again every few strips.
    void reserveStrips(std::int32_t nCount);
    std::int32_t getStripCount() const { return m_stripOffsets.getCount(); }
    std::int32_t getStripOffset(std::int32_t nIndex) const { return m_stripOffsets.getItem(nIndex); }
    std::int32_t getStripByteCount(std::int32_t nIndex) const { return m_stripByteCounts.getItem(nIndex); }
    // The stream must be seekable (else tifStripStreamUnseekable); it is not owned.
    void setStripStream(core::io::IStream* pStream);
    core::io::IStream* getStripStream() const { return m_pStripStream; }

    // The first value of a tag (tifTagNotFound without the tag).
    std::int32_t getLongValue(std::int32_t nNumber) const;
    // Gives a SHORT or LONG tag the one value nValue; a SHORT tag becomes LONG when the
    // value does not fit 16 bits (tifTagNotFound without the tag).
    void setLongValue(std::int32_t nNumber, std::int32_t nValue);
    // The tag with that number (tifTagNotFound without it).
    TiffTag* getRequiredTag(std::int32_t nNumber) const;

    // The sum of the BitsPerSample values (tifTagNotFound without the tag).
    std::int32_t getBitsPerPixel() const;

    // Copies nLength bytes from nOffset of the strip stream to pOut, each byte
    // complemented when bInvert is set.
    void saveData(std::int32_t nOffset, std::int32_t nLength, core::io::IStream* pOut, bool bInvert);
    void saveStrip(std::int32_t nIndex, core::io::IStream* pOut, bool bInvert);

private:
    // The index of the first tag numbered nNumber or higher.
    std::int32_t findIndex(std::int32_t nNumber) const;
    static void releaseAll(core::collections::PointerArray<TiffTag>& tags);

    unsigned char m_copyBuffer[4096];
    core::collections::PointerArray<TiffTag> m_tags{32};
    core::collections::PointerArray<TiffTag> m_pool{32};
    core::collections::SimpleTypeArray<std::int32_t> m_stripByteCounts;
    core::collections::SimpleTypeArray<std::int32_t> m_stripOffsets;
    core::io::IStream* m_pStripStream = nullptr;
};

}

#endif
