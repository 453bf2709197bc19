#include "setup/PrinterRecords.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace velmo::setup {

namespace {

static_assert(sizeof(DEVMODEW) == 220, "the settings record has no private part");

constexpr std::size_t deviceNameLimit = CCHDEVICENAME - 1;

// Appends little-endian numbers and SIDs to a byte block.
class ByteWriter {
public:
    void byte(std::uint8_t nValue) { m_bytes.push_back(nValue); }
    void word(std::uint16_t nValue) { number(nValue, 2); }
    void dword(std::uint32_t nValue) { number(nValue, 4); }
    void qword(std::uint64_t nValue) { number(nValue, 8); }

    // Revision 1, the sub-authority count, the 48-bit authority (big-endian), the sub-authorities.
    void sid(std::uint8_t nAuthority, std::initializer_list<std::uint32_t> subAuthorities)
    {
        byte(SID_REVISION);
        byte(static_cast<std::uint8_t>(subAuthorities.size()));
        m_bytes.insert(m_bytes.end(), 5, 0);
        byte(nAuthority);
        for (std::uint32_t nSubAuthority : subAuthorities)
            dword(nSubAuthority);
    }

    Bytes take() { return std::move(m_bytes); }

private:
    void number(std::uint64_t nValue, int nByteCount)
    {
        for (int i = 0; i < nByteCount; ++i)
            byte(static_cast<std::uint8_t>(nValue >> (8 * i)));
    }

    Bytes m_bytes;
};

constexpr std::uint8_t worldAuthority = 1;   // S-1-1
constexpr std::uint8_t ntAuthority = 5;      // S-1-5
constexpr std::uint16_t aceSize = 20;        // header, mask and the Everyone SID
constexpr std::uint32_t ownerOffset = 88;
constexpr std::uint32_t groupOffset = 104;
constexpr std::uint32_t daclOffset = 20;
constexpr std::uint16_t daclSize = 8 + 3 * aceSize;
// Any domain serves for the group: it only has to be a domain's users group.
constexpr std::uint32_t groupDomain[] = {2134771541, 1480327129, 3025816770};

void everyoneAce(ByteWriter& writer, std::uint8_t nFlags, std::uint32_t nMask)
{
    writer.byte(ACCESS_ALLOWED_ACE_TYPE);
    writer.byte(nFlags);
    writer.word(aceSize);
    writer.dword(nMask);
    writer.sid(worldAuthority, {SECURITY_WORLD_RID});
}

}

Bytes defaultSettingsRecord(const std::string& printerName)
{
    DEVMODEW devmode{};
    const std::size_t nNameLength = std::min(printerName.size(), deviceNameLimit);
    for (std::size_t i = 0; i < nNameLength; ++i)
        devmode.dmDeviceName[i] = static_cast<unsigned char>(printerName[i]);
    devmode.dmSpecVersion = 0x0400;
    devmode.dmDriverVersion = 1;
    devmode.dmSize = sizeof(DEVMODEW);
    devmode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY | DM_COLOR;
    devmode.dmOrientation = DMORIENT_PORTRAIT;
    devmode.dmPaperSize = DMPAPER_LETTER;
    devmode.dmCopies = 1;
    devmode.dmPrintQuality = 200;
    devmode.dmYResolution = 200;
    devmode.dmColor = DMCOLOR_MONOCHROME;
    devmode.dmDuplex = DMDUP_SIMPLEX;
    devmode.dmTTOption = DMTT_BITMAP;
    devmode.dmCollate = DMCOLLATE_TRUE;
    std::memcpy(devmode.dmFormName, L"Letter", sizeof(L"Letter"));
    devmode.dmBitsPerPel = 8;
    devmode.dmPelsWidth = 1700;
    devmode.dmPelsHeight = 2200;
    const auto* pBytes = reinterpret_cast<const std::uint8_t*>(&devmode);
    return Bytes(pBytes, pBytes + sizeof(devmode));
}

Bytes printerSecurityDescriptor()
{
    ByteWriter writer;
    writer.byte(SECURITY_DESCRIPTOR_REVISION);
    writer.byte(0);
    writer.word(SE_SELF_RELATIVE | SE_DACL_PRESENT);
    writer.dword(ownerOffset);
    writer.dword(groupOffset);
    writer.dword(0); // no SACL
    writer.dword(daclOffset);

    writer.byte(ACL_REVISION);
    writer.byte(0);
    writer.word(daclSize);
    writer.word(3);
    writer.word(0);
    // Print, and manage the printer and its documents.
    everyoneAce(writer, 0, 0x000F000C);
    // Read access inherited by the printer's jobs.
    everyoneAce(writer, CONTAINER_INHERIT_ACE | INHERIT_ONLY_ACE, 0x00020000);
    // Full control of documents, inherited by the jobs.
    everyoneAce(writer, OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE, 0x000F003C);

    writer.sid(ntAuthority, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
    writer.sid(ntAuthority, {SECURITY_NT_NON_UNIQUE, groupDomain[0], groupDomain[1], groupDomain[2], DOMAIN_GROUP_RID_USERS});
    return writer.take();
}

Bytes driverDate()
{
    ByteWriter writer;
    writer.qword(0x01C4526BB3848000); // 2004-06-15 00:00:00 UTC
    return writer.take();
}

Bytes driverVersion()
{
    ByteWriter writer;
    writer.qword(0x0004000200000000); // 4.2.0.0, one 16-bit part each
    return writer.take();
}

}
