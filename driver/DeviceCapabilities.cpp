#include "driver/DeviceCapabilities.h"

#include "driver/DeviceAnswers.h"

#include <cstring>

namespace velmo::driver {

namespace {

constexpr DWORD notSupported = 0xFFFFFFFF;

// Fixed slot widths of the name lists, in UTF-16 units, zero-padded.
constexpr int paperNameUnits = 64;
constexpr int binNameUnits = 24;

// Letter and Legal, in this order in every list.
constexpr WORD paperNumbers[] = {DMPAPER_LETTER, DMPAPER_LEGAL};
constexpr POINT paperSizes[] = {{2159, 2794}, {2159, 3556}};  // tenths of a millimetre
constexpr wchar_t paperNames[][paperNameUnits] = {L"Letter", L"Legal"};
constexpr WORD binNumbers[] = {DMBIN_AUTO};
constexpr wchar_t binNames[][binNameUnits] = {L"Auto Select"};

constexpr DWORD settableFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                                 DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR | DM_YRESOLUTION | DM_TTOPTION |
                                 DM_COLLATE;
static_assert(settableFields == 0xEF0F);

struct CapabilityAnswer {
    DWORD nResult;
    const void* pList = nullptr;
    std::size_t nListBytes = 0;
};

template <typename TEntry, std::size_t N>
CapabilityAnswer listAnswer(const TEntry (&list)[N])
{
    return {static_cast<DWORD>(N), list, sizeof(list)};
}

CapabilityAnswer answerOf(WORD iDevCap)
{
    switch (iDevCap) {
    case DC_FIELDS:
        return {settableFields};
    case DC_PAPERS:
        return listAnswer(paperNumbers);
    case DC_PAPERSIZE:
        return listAnswer(paperSizes);
    case DC_MINEXTENT:
        return {0};
    case DC_MAXEXTENT:
        return {0x7FFF};
    case DC_BINS:
        return listAnswer(binNumbers);
    case DC_DUPLEX:
        return {0};
    case DC_SIZE:
        return {sizeof(DEVMODEW)};
    case DC_EXTRA:
        return {0};
    case DC_VERSION:
        return {0x0500};
    case DC_DRIVER:
        return {1};
    case DC_BINNAMES:
        return listAnswer(binNames);
    case DC_FILEDEPENDENCIES:
        return {0};
    case DC_TRUETYPE:
        return {1};
    case DC_PAPERNAMES:
        return listAnswer(paperNames);
    case DC_ORIENTATION:
        return {90};  // landscape turns the page counter-clockwise
    case DC_COPIES:
        return {1};
    default:
        return {notSupported};
    }
}

}

DWORD answerDeviceCapability(WORD iDevCap, void* pvOutput)
{
    // The one resolution is the configured one; a caller that takes the count must also find
    // the pair it counts.
    const DEVMODEW& defaults = defaultDevmode();
    const LONG resolution[][2] = {{defaults.dmPrintQuality, defaults.dmYResolution}};
    const CapabilityAnswer answer = iDevCap == DC_ENUMRESOLUTIONS ? listAnswer(resolution) : answerOf(iDevCap);
    if (pvOutput && answer.pList)
        std::memcpy(pvOutput, answer.pList, answer.nListBytes);
    return answer.nResult;
}

}
