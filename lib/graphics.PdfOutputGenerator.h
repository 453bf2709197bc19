#ifndef VELMO_LIB_GRAPHICS_PDFOUTPUTGENERATOR_H
#define VELMO_LIB_GRAPHICS_PDFOUTPUTGENERATOR_H

#include "core/String.h"
#include "core/collections.DictionaryList.h"
#include "core/collections.ObjectArray.h"
#include "core/collections.SimpleTypeArray.h"
#include "lib/graphics.IOutputGenerator.h"

namespace velmo::lib::graphics {

class TiffTag;

// Repackages TIFF pages as a PDF document: every strip becomes one image object holding the
// strip's coded bytes as they stand, stacked from the top of its page. Optionally encrypted
// with the standard security handler (RC4, revision 2 with 40-bit or 3 with 128-bit keys).
class PdfOutputGenerator : public IOutputGenerator {
public:
    const char* getMimeType() override { return "application/pdf"; }
    core::io::IStream* getOutputStream() override { return m_pOutput; }
    core::io::IStream* setOutputStream(core::io::IStream* pOutput) override { return m_pOutput = pOutput; }
    void start() override;
    // Appending to a PDF document is not supported (4003 / 4974).
    void appendStart() override;
    void finish() override;
    void addTiffPage(TiffPageImage& page) override;

    // dOpenZoom: 0 no initial view, -2 fit page, -1 fit width, else a zoom factor.
    void setDocumentInfo(const char* pszProducer, const char* pszDate, double dOpenZoom);
    void secureOutput(const unsigned char* pFileId, std::int32_t nFileIdLength, const unsigned char* pOwnerPassword,
                      std::int32_t nOwnerLength, const unsigned char* pUserPassword, std::int32_t nUserLength,
                      std::int32_t nPermissions, bool bUse128Bit);
    // Writes one indirect object (a new number when nObjectNumber < 1) with an optional
    // stream of nLength bytes from pSource and extra bytes before "endobj".
    std::int32_t writeObject(std::int32_t nObjectNumber, const core::collections::DictionaryList& dictionary,
                             core::io::IStream* pSource, std::int32_t nLength, const unsigned char* pExtra,
                             std::int32_t nExtraLength);

private:
    void write(const char* pszText);
    void write(const core::String& text) { write(text.getBuffer(), text.getLength()); }
    void write(const char* pBytes, std::int32_t nCount);
    // Copies up to nLength bytes in blocks of the copy buffer; returns how many.
    std::int32_t copyStream(core::io::IStream* pSource, std::int32_t nLength, core::io::IStream* pTarget);
    void makeObjectKey(std::int32_t nObjectNumber, core::collections::SimpleTypeArray<unsigned char>& key) const;
    std::int32_t writePalette(const TiffTag& colorMap);
    std::int32_t writeStrip(TiffPageImage& page, std::int32_t nStrip, std::int32_t nCompression,
                            std::int32_t nFillOrder, std::int32_t nPhotometric,
                            core::collections::DictionaryList& dictionary);
    void writeTagLines(TiffPageImage& page, core::String& out) const;

    unsigned char m_copyBuffer[512] = {};
    core::collections::ObjectArray<core::String> m_crossReferences;
    core::collections::ObjectArray<core::String> m_pageReferences;
    core::String m_offsetText;
    std::int32_t m_nByteOffset = 0;
    std::int32_t m_nImageCounter = 0;
    std::int32_t m_nPageCounter = 0;
    std::int32_t m_nFirstPageObject = -1;
    double m_dOpenZoom = 0;
    core::String m_producer;
    core::String m_date;
    bool m_bEncrypted = false;
    bool m_b128BitKey = false;
    core::collections::SimpleTypeArray<unsigned char> m_ownerPassword;
    core::collections::SimpleTypeArray<unsigned char> m_userPassword;
    core::collections::SimpleTypeArray<unsigned char> m_ownerEntry;
    core::collections::SimpleTypeArray<unsigned char> m_userEntry;
    core::collections::SimpleTypeArray<unsigned char> m_fileKey;
    core::collections::SimpleTypeArray<unsigned char> m_fileId;
    std::int32_t m_nPermissions = 0;
    core::io::IStream* m_pOutput = nullptr;
};

}

#endif
