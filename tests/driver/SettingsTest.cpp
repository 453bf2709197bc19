// The printer-interface entry points: capabilities, document settings and property sheets,
// called as the spooler and the printing dialogs call them.
#include "tests/driver/DriverProbe.h"
#include "tests/util/ScratchDirectory.h"

#include "driver/compat/PrinterInterface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace velmo::driver::test {

namespace {

using DeviceCapabilities = DWORD(WINAPI*)(HANDLE, PWSTR, WORD, VOID*, PDEVMODEW);
using DocumentProperties = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW, DWORD);
using PropertySheets = LONG(WINAPI*)(PPROPSHEETUI_INFO, LPARAM);
using ConvertDevMode = WINBOOL(WINAPI*)(LPWSTR, PDEVMODEW, PDEVMODEW, PLONG, DWORD);
using LiveHeapBlocks = std::int64_t (*)();

constexpr unsigned char canary = 0xA5;
constexpr std::size_t canaryBytes = 16;
constexpr DWORD notSupported = 0xFFFFFFFF;

using Bytes = std::vector<unsigned char>;

template <typename TValue>
Bytes bytesOf(std::initializer_list<TValue> values)
{
    Bytes bytes;
    for (const TValue value : values) {
        const auto* pValue = reinterpret_cast<const unsigned char*>(&value);
        bytes.insert(bytes.end(), pValue, pValue + sizeof(TValue));
    }
    return bytes;
}

// Names in fixed slots of nUnits UTF-16 units, zero-padded.
Bytes nameSlots(std::size_t nUnits, std::initializer_list<const wchar_t*> names)
{
    Bytes bytes;
    for (const wchar_t* pszName : names) {
        std::vector<wchar_t> slot(nUnits, L'\0');
        std::wcsncpy(slot.data(), pszName, nUnits);
        const auto* pSlot = reinterpret_cast<const unsigned char*>(slot.data());
        bytes.insert(bytes.end(), pSlot, pSlot + nUnits * sizeof(wchar_t));
    }
    return bytes;
}

Bytes bytesOfRecord(const DEVMODEW& devmode)
{
    const auto* pRecord = reinterpret_cast<const unsigned char*>(&devmode);
    return Bytes(pRecord, pRecord + sizeof(DEVMODEW));
}

// An output buffer of nSize bytes filled with the canary, with canary bytes behind it.
class GuardedBuffer {
public:
    explicit GuardedBuffer(std::size_t nSize = sizeof(DEVMODEW)) : m_nSize(nSize), m_bytes(nSize + canaryBytes, canary)
    {
    }

    DEVMODEW* devmode() { return reinterpret_cast<DEVMODEW*>(m_bytes.data()); }
    void* data() { return m_bytes.data(); }
    Bytes written() const { return Bytes(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_nSize)); }
    bool untouched() const { return m_bytes == Bytes(m_nSize + canaryBytes, canary); }
    bool canaryIntact() const
    {
        return Bytes(m_bytes.end() - canaryBytes, m_bytes.end()) == Bytes(canaryBytes, canary);
    }

private:
    std::size_t m_nSize;
    Bytes m_bytes;
};

// A caller's record, different from the default in every field the driver reads.
DEVMODEW callerRecord()
{
    DEVMODEW devmode = jobDevmode(L"Caller Printer", DMPAPER_LEGAL, DMORIENT_PORTRAIT);
    devmode.dmCopies = 3;
    devmode.dmFields |= DM_COPIES;
    return devmode;
}

class SettingsTest : public ::testing::Test {
protected:
    template <typename TFunction>
    TFunction entry(const char* pszName) const
    {
        auto pfnEntry = m_probe.exported<TFunction>(pszName);
        EXPECT_NE(pfnEntry, nullptr) << pszName;
        return pfnEntry;
    }

    DEVMODEW defaultRecord() const
    {
        DEVMODEW devmode{};
        EXPECT_TRUE(entry<ConvertDevMode>("DrvConvertDevMode")(nullptr, nullptr, &devmode, nullptr, CDM_DRIVER_DEFAULT));
        return devmode;
    }

    LONG documentProperties(DEVMODEW* pdmOutput, DEVMODEW* pdmInput, DWORD fMode) const
    {
        return entry<DocumentProperties>("DrvDocumentProperties")(nullptr, nullptr, nullptr, pdmOutput, pdmInput,
                                                                  fMode);
    }

    util::test::ScratchDirectory m_directory;
    DriverProbe m_probe{m_directory.path(), "settings",
                        "[driver]\nname=Office Fax\ninfo=Fax Line Driver\n[options]\nlandscape=1\n"};
};

struct CapabilityCase {
    WORD iDevCap;
    DWORD nResult;
    Bytes written;  // what an output buffer receives; nothing for most capabilities
};

TEST_F(SettingsTest, deviceCapabilitiesAnswerAndFillListsExactly)
{
    const CapabilityCase cases[] = {
        {DC_FIELDS, 0xEF0F, {}},
        {DC_PAPERS, 2, bytesOf<WORD>({1, 5})},
        {DC_PAPERSIZE, 2, bytesOf<LONG>({2159, 2794, 2159, 3556})},
        {DC_MINEXTENT, 0, {}},
        {DC_MAXEXTENT, 0x7FFF, {}},
        {DC_BINS, 1, bytesOf<WORD>({7})},
        {DC_DUPLEX, 0, {}},
        {DC_SIZE, 220, {}},
        {DC_EXTRA, 0, {}},
        {DC_VERSION, 0x0500, {}},
        {DC_DRIVER, 1, {}},
        {DC_BINNAMES, 1, nameSlots(24, {L"Auto Select"})},
        {DC_ENUMRESOLUTIONS, 1, bytesOf<LONG>({200, 200})},
        {DC_FILEDEPENDENCIES, 0, {}},
        {DC_TRUETYPE, 1, {}},
        {DC_PAPERNAMES, 2, nameSlots(64, {L"Letter", L"Legal"})},
        {DC_ORIENTATION, 90, {}},
        {DC_COPIES, 1, {}},
        {DC_BINADJUST, notSupported, {}},
        {DC_EMF_COMPLIANT, notSupported, {}},
        {0, notSupported, {}},
        {21, notSupported, {}},
        {0xFFFF, notSupported, {}},
    };
    auto pfnCapabilities = entry<DeviceCapabilities>("DrvDeviceCapabilities");
    DEVMODEW landscapeLegal = jobDevmode(L"Other", DMPAPER_LEGAL, DMORIENT_LANDSCAPE);
    for (const CapabilityCase& capability : cases) {
        SCOPED_TRACE(testing::Message() << "capability " << capability.iDevCap);
        SetLastError(0xdeadbeef);
        EXPECT_EQ(pfnCapabilities(nullptr, nullptr, capability.iDevCap, nullptr, nullptr), capability.nResult);
        EXPECT_EQ(GetLastError(), 0xdeadbeefu);

        // Exactly the list's bytes, in a buffer larger than the largest list; the settings
        // record passed in changes nothing.
        GuardedBuffer output(300);
        EXPECT_EQ(pfnCapabilities(nullptr, nullptr, capability.iDevCap, output.data(), &landscapeLegal),
                  capability.nResult);
        Bytes expected = capability.written;
        expected.resize(300, canary);
        EXPECT_EQ(output.written(), expected);
        EXPECT_TRUE(output.canaryIntact());
    }
}

TEST_F(SettingsTest, documentPropertiesInEachMode)
{
    const DEVMODEW defaults = defaultRecord();
    EXPECT_EQ(std::wstring(defaults.dmDeviceName), L"Office Fax");
    EXPECT_EQ(defaults.dmOrientation, DMORIENT_LANDSCAPE);
    DEVMODEW input = callerRecord();

    // The size query touches no buffer.
    GuardedBuffer sizeOnly;
    EXPECT_EQ(documentProperties(sizeOnly.devmode(), &input, 0), 220);
    EXPECT_TRUE(sizeOnly.untouched());

    // The caller's record comes back as it is, not merged with the default.
    GuardedBuffer merged;
    EXPECT_EQ(documentProperties(merged.devmode(), &input, DM_IN_BUFFER | DM_OUT_BUFFER), IDOK);
    EXPECT_EQ(merged.written(), bytesOfRecord(input));
    EXPECT_TRUE(merged.canaryIntact());

    // Without an input the answer is the default with the configured orientation; a prompt
    // shows nothing and changes nothing.
    for (const DWORD fMode : {DWORD{DM_OUT_BUFFER}, DWORD{DM_OUT_BUFFER | DM_IN_PROMPT}}) {
        SCOPED_TRACE(testing::Message() << "mode " << fMode);
        GuardedBuffer defaultOnly;
        EXPECT_EQ(documentProperties(defaultOnly.devmode(), &input, fMode), IDOK);
        EXPECT_EQ(defaultOnly.written(), bytesOfRecord(defaults));
        EXPECT_TRUE(defaultOnly.canaryIntact());
    }
    GuardedBuffer noOutput;
    EXPECT_EQ(documentProperties(noOutput.devmode(), &input, DM_IN_BUFFER), IDOK);
    EXPECT_TRUE(noOutput.untouched());
    EXPECT_EQ(documentProperties(nullptr, nullptr, DM_IN_BUFFER | DM_OUT_BUFFER), IDOK);
}

// A record placed so that its last byte is the last readable one: reading past it faults.
class RecordAtPageEnd {
public:
    explicit RecordAtPageEnd(const DEVMODEW& record, std::size_t nSize)
    {
        m_pPages = static_cast<unsigned char*>(VirtualAlloc(nullptr, 2 * pageSize, MEM_COMMIT, PAGE_READWRITE));
        DWORD nOldProtection = 0;
        VirtualProtect(m_pPages + pageSize, pageSize, PAGE_NOACCESS, &nOldProtection);
        m_pRecord = m_pPages + pageSize - nSize;
        std::memcpy(m_pRecord, &record, nSize);
    }
    ~RecordAtPageEnd() { VirtualFree(m_pPages, 0, MEM_RELEASE); }
    RecordAtPageEnd(const RecordAtPageEnd&) = delete;
    RecordAtPageEnd& operator=(const RecordAtPageEnd&) = delete;

    DEVMODEW* devmode() const { return reinterpret_cast<DEVMODEW*>(m_pRecord); }

private:
    static constexpr std::size_t pageSize = 4096;
    unsigned char* m_pPages = nullptr;
    unsigned char* m_pRecord = nullptr;
};

struct ShortRecordCase {
    WORD dmSize;
    WORD dmDriverExtra;
};

TEST_F(SettingsTest, shortInputRecordsAreReadOnlyAsFarAsTheyReach)
{
    const DEVMODEW defaults = defaultRecord();
    const ShortRecordCase cases[] = {{156, 0}, {120, 40}, {219, 0}};
    for (const ShortRecordCase& shortRecord : cases) {
        SCOPED_TRACE(testing::Message() << "size " << shortRecord.dmSize << " + " << shortRecord.dmDriverExtra);
        DEVMODEW input = callerRecord();
        input.dmSize = shortRecord.dmSize;
        input.dmDriverExtra = shortRecord.dmDriverExtra;
        const std::size_t nHeld = std::size_t{shortRecord.dmSize} + shortRecord.dmDriverExtra;
        RecordAtPageEnd placed(input, nHeld);

        GuardedBuffer output;
        EXPECT_EQ(documentProperties(output.devmode(), placed.devmode(), DM_IN_BUFFER | DM_OUT_BUFFER), IDOK);
        Bytes expected = bytesOfRecord(input);
        const Bytes defaultBytes = bytesOfRecord(defaults);
        std::copy(defaultBytes.begin() + static_cast<std::ptrdiff_t>(nHeld), defaultBytes.end(),
                  expected.begin() + static_cast<std::ptrdiff_t>(nHeld));
        EXPECT_EQ(output.written(), expected);
        EXPECT_TRUE(output.canaryIntact());
    }
}

TEST_F(SettingsTest, convertDevModeGivesTheDefaultAndRespectsTheOutputSize)
{
    const DEVMODEW defaults = defaultRecord();
    auto pfnConvert = entry<ConvertDevMode>("DrvConvertDevMode");
    DEVMODEW input = jobDevmode(L"Other", DMPAPER_LEGAL, DMORIENT_LANDSCAPE);

    for (const DWORD fMode : {DWORD{CDM_CONVERT}, DWORD{CDM_CONVERT351}, DWORD{CDM_DRIVER_DEFAULT}}) {
        SCOPED_TRACE(testing::Message() << "mode " << fMode);
        GuardedBuffer output;
        LONG cbNeeded = sizeof(DEVMODEW);
        EXPECT_TRUE(pfnConvert(nullptr, &input, output.devmode(), &cbNeeded, fMode));
        EXPECT_EQ(output.written(), bytesOfRecord(defaults));
        EXPECT_EQ(output.devmode()->dmPaperSize, DMPAPER_LETTER);
        EXPECT_TRUE(output.canaryIntact());
    }

    // An output announced too small is left alone, and the caller learns the size it needs.
    for (const LONG cbAnnounced : {LONG{0}, LONG{219}}) {
        SCOPED_TRACE(testing::Message() << "announced " << cbAnnounced);
        GuardedBuffer output(static_cast<std::size_t>(cbAnnounced));
        LONG cbNeeded = cbAnnounced;
        SetLastError(0xdeadbeef);
        EXPECT_FALSE(pfnConvert(nullptr, &input, output.devmode(), &cbNeeded, CDM_CONVERT));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(cbNeeded, 220);
        EXPECT_TRUE(output.untouched());
    }
    LONG cbNeeded = 0;
    EXPECT_FALSE(pfnConvert(nullptr, &input, nullptr, &cbNeeded, CDM_DRIVER_DEFAULT));
    EXPECT_EQ(cbNeeded, 220);
}

TEST_F(SettingsTest, documentHeaderWithoutSheetAnswersLikeDocumentProperties)
{
    auto pfnSheets = entry<PropertySheets>("DrvDocumentPropertySheets");
    EXPECT_EQ(pfnSheets(nullptr, 0), -1);

    DEVMODEW input = callerRecord();
    GuardedBuffer output;
    DOCUMENTPROPERTYHEADER header{};
    header.cbSize = sizeof(header);
    header.pdmIn = &input;
    header.pdmOut = output.devmode();
    header.cbOut = 7;
    EXPECT_EQ(pfnSheets(nullptr, reinterpret_cast<LPARAM>(&header)), 220);
    EXPECT_EQ(header.cbOut, 220u);

    header.fMode = DM_COPY;
    header.pdmOut = nullptr;
    EXPECT_EQ(pfnSheets(nullptr, reinterpret_cast<LPARAM>(&header)), 220);

    // Neither update nor copy: nothing to hand back.
    header.pdmOut = output.devmode();
    header.fMode = DM_IN_BUFFER | DM_IN_PROMPT;
    EXPECT_EQ(pfnSheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_TRUE(output.untouched());

    header.fMode = DM_IN_BUFFER | DM_COPY;
    EXPECT_EQ(pfnSheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
    EXPECT_EQ(output.written(), bytesOfRecord(input));
    EXPECT_TRUE(output.canaryIntact());
}

// Plays the common property-sheet library: records the blocks it is given (while they are
// still alive) and answers as told.
struct FakeSheetLibrary {
    LONG_PTR nAnswer = 1;
    int nCalls = 0;
    UINT nFunction = 0;
    LPARAM lParam1 = 0;
    bool bResultWordGiven = false;
    COMPROPSHEETUI sheet{};
    OPTITEM item{};
    std::wstring callerName;
    std::wstring itemName;
    std::wstring optionItemName;
    LONG nCallbackAnswer = -1;

    static LONG_PTR CALLBACK call(HANDLE hComPropSheet, UINT nFunction, LPARAM lParam1, LPARAM lParam2)
    {
        auto& library = *static_cast<FakeSheetLibrary*>(hComPropSheet);
        ++library.nCalls;
        library.nFunction = nFunction;
        library.lParam1 = lParam1;
        library.bResultWordGiven = lParam2 != 0;
        library.sheet = *reinterpret_cast<const COMPROPSHEETUI*>(lParam1);
        library.item = *library.sheet.pOptItem;
        library.callerName = library.sheet.pCallerName;
        library.optionItemName = library.sheet.pOptItemName;
        library.itemName = library.item.pName;
        CPSUICBPARAM event{};
        event.cbSize = sizeof(event);
        library.nCallbackAnswer = library.sheet.pfnCallBack(&event);
        return library.nAnswer;
    }

    PROPSHEETUI_INFO info(WORD nReason)
    {
        PROPSHEETUI_INFO sheetInfo{};
        sheetInfo.cbSize = sizeof(sheetInfo);
        sheetInfo.Version = PROPSHEETUI_INFO_VERSION;
        sheetInfo.Reason = nReason;
        sheetInfo.hComPropSheet = this;
        sheetInfo.pfnComPropSheet = call;
        sheetInfo.Result = 77;
        return sheetInfo;
    }
};

class PropertySheetTest : public SettingsTest {
protected:
    std::int64_t liveHeapBlocks() const { return entry<LiveHeapBlocks>("korvaProbeLiveHeapBlocks")(); }

    PropertySheets m_pfnDocument = entry<PropertySheets>("DrvDocumentPropertySheets");
    PropertySheets m_pfnDevice = entry<PropertySheets>("DrvDevicePropertySheets");
};

TEST_F(PropertySheetTest, initialisingCallHandsOverTheBlocksAsListed)
{
    for (const PropertySheets pfnSheets : {m_pfnDocument, m_pfnDevice}) {
        SCOPED_TRACE(pfnSheets == m_pfnDocument ? "document" : "device");
        FakeSheetLibrary library;
        PROPSHEETUI_INFO info = library.info(PROPSHEETUI_REASON_INIT);
        const std::int64_t nBlocksBefore = liveHeapBlocks();
        EXPECT_EQ(pfnSheets(&info, 0), 1);
        EXPECT_EQ(liveHeapBlocks(), nBlocksBefore + 2);
        ASSERT_EQ(library.nCalls, 1);
        EXPECT_EQ(library.nFunction, static_cast<UINT>(CPSFUNC_ADD_PCOMPROPSHEETUIW));
        EXPECT_TRUE(library.bResultWordGiven);
        EXPECT_EQ(info.UserData, static_cast<ULONG_PTR>(library.lParam1));
        EXPECT_EQ(info.Result, 0u);

        const COMPROPSHEETUI& sheet = library.sheet;
        EXPECT_EQ(sheet.cbSize, sizeof(COMPROPSHEETUI));
        EXPECT_EQ(sheet.Flags, 5);
        EXPECT_EQ(sheet.hInstCaller, GetModuleHandleA(m_probe.path().c_str()));
        EXPECT_EQ(library.callerName, L"Office Fax");
        EXPECT_EQ(sheet.UserData, 0u);
        EXPECT_EQ(sheet.pHelpFile, nullptr);
        EXPECT_EQ(library.nCallbackAnswer, 0);
        EXPECT_EQ(sheet.pDlgPage, CPSUI_PDLGPAGE_PRINTERPROP);
        EXPECT_EQ(sheet.cOptItem, 1);
        EXPECT_EQ(sheet.cDlgPage, 0);
        EXPECT_EQ(sheet.IconID, 0u);
        EXPECT_EQ(library.optionItemName, L"Office Fax");
        EXPECT_EQ(sheet.CallerVersion, 0x0400);
        EXPECT_EQ(sheet.OptItemVersion, 0x0400);
        EXPECT_EQ(Bytes(reinterpret_cast<const unsigned char*>(sheet.dwReserved),
                        reinterpret_cast<const unsigned char*>(sheet.dwReserved + 4)),
                  Bytes(sizeof(sheet.dwReserved), 0));

        // The item is a header without options: everything but its size, name and icon is zero.
        OPTITEM expectedItem{};
        expectedItem.cbSize = sizeof(OPTITEM);
        expectedItem.pName = library.item.pName;
        expectedItem.Sel = 64009;
        EXPECT_EQ(library.itemName, L"Fax Line Driver");
        EXPECT_EQ(std::memcmp(&library.item, &expectedItem, sizeof(OPTITEM)), 0);

        info.Reason = PROPSHEETUI_REASON_DESTROY;
        EXPECT_EQ(pfnSheets(&info, 0), 1);
        EXPECT_EQ(liveHeapBlocks(), nBlocksBefore);
        EXPECT_EQ(info.UserData, 0u);
        // A second destroying call finds nothing to release.
        EXPECT_EQ(pfnSheets(&info, 0), 1);
        EXPECT_EQ(liveHeapBlocks(), nBlocksBefore);
    }
}

TEST_F(PropertySheetTest, sheetTheLibraryRefusesKeepsNoBlocks)
{
    for (const PropertySheets pfnSheets : {m_pfnDocument, m_pfnDevice}) {
        FakeSheetLibrary library;
        library.nAnswer = 0;
        PROPSHEETUI_INFO info = library.info(PROPSHEETUI_REASON_INIT);
        const std::int64_t nBlocksBefore = liveHeapBlocks();
        EXPECT_EQ(pfnSheets(&info, 0), 1);
        EXPECT_EQ(library.nCalls, 1);
        EXPECT_EQ(info.UserData, 0u);
        EXPECT_EQ(info.Result, 77u);
        EXPECT_EQ(liveHeapBlocks(), nBlocksBefore);

        // Without a library function there is nothing to add the sheet to.
        info.pfnComPropSheet = nullptr;
        EXPECT_EQ(pfnSheets(&info, 0), -1);
        EXPECT_EQ(liveHeapBlocks(), nBlocksBefore);
    }
    EXPECT_EQ(m_pfnDevice(nullptr, 0), -1);
}

TEST_F(PropertySheetTest, sheetsOpenAtOnceOwnTheirBlocks)
{
    FakeSheetLibrary documentLibrary;
    FakeSheetLibrary deviceLibrary;
    PROPSHEETUI_INFO documentInfo = documentLibrary.info(PROPSHEETUI_REASON_INIT);
    PROPSHEETUI_INFO deviceInfo = deviceLibrary.info(PROPSHEETUI_REASON_INIT);
    const std::int64_t nBlocksBefore = liveHeapBlocks();
    ASSERT_EQ(m_pfnDocument(&documentInfo, 0), 1);
    ASSERT_EQ(m_pfnDevice(&deviceInfo, 0), 1);
    EXPECT_EQ(liveHeapBlocks(), nBlocksBefore + 4);
    EXPECT_NE(documentInfo.UserData, deviceInfo.UserData);

    documentInfo.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(m_pfnDocument(&documentInfo, 0), 1);
    EXPECT_EQ(liveHeapBlocks(), nBlocksBefore + 2);
    // The other sheet's blocks are still whole.
    const auto* pSheet = reinterpret_cast<const COMPROPSHEETUI*>(deviceInfo.UserData);
    ASSERT_NE(pSheet, nullptr);
    EXPECT_EQ(std::wstring(pSheet->pOptItem->pName), L"Fax Line Driver");
    EXPECT_EQ(pSheet->pOptItem->Sel, 64009);

    deviceInfo.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(m_pfnDevice(&deviceInfo, 0), 1);
    EXPECT_EQ(liveHeapBlocks(), nBlocksBefore);
}

TEST_F(PropertySheetTest, otherReasonsDoNothing)
{
    for (const WORD nReason : {WORD{PROPSHEETUI_REASON_GET_INFO_HEADER}, WORD{PROPSHEETUI_REASON_SET_RESULT},
                               WORD{PROPSHEETUI_REASON_GET_ICON}, WORD{99}}) {
        SCOPED_TRACE(testing::Message() << "reason " << nReason);
        FakeSheetLibrary library;
        PROPSHEETUI_INFO info = library.info(nReason);
        const std::int64_t nBlocksBefore = liveHeapBlocks();
        EXPECT_EQ(m_pfnDocument(&info, 0), 1);
        EXPECT_EQ(m_pfnDevice(&info, 0), 0);
        EXPECT_EQ(library.nCalls, 0);
        EXPECT_EQ(info.UserData, 0u);
        EXPECT_EQ(info.Result, 77u);
        EXPECT_EQ(liveHeapBlocks(), nBlocksBefore);
    }
}

TEST_F(SettingsTest, remainingEntriesAgreeToEverything)
{
    using AdvancedProperties = LONG(WINAPI*)(HWND, HANDLE, PWSTR, PDEVMODEW, PDEVMODEW);
    DEVMODEW input = callerRecord();
    GuardedBuffer output;
    EXPECT_EQ(entry<AdvancedProperties>("DrvAdvancedDocumentProperties")(nullptr, nullptr, nullptr, output.devmode(),
                                                                         &input),
              0);
    EXPECT_TRUE(output.untouched());

    DEVQUERYPRINT_INFO query{};
    query.cbSize = sizeof(query);
    query.pDevMode = &input;
    EXPECT_TRUE(entry<WINBOOL(WINAPI*)(PDEVQUERYPRINT_INFO)>("DevQueryPrintEx")(&query));
    EXPECT_TRUE(entry<WINBOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM)>("DrvPrinterEvent")(nullptr, PRINTER_EVENT_INITIALIZE,
                                                                                        0, 0));
    EXPECT_TRUE(entry<WINBOOL(WINAPI*)(DWORD, LPBYTE)>("DrvUpgradePrinter")(1, nullptr));
    EXPECT_TRUE(entry<WINBOOL(WINAPI*)(HWND, HANDLE)>("PrinterProperties")(nullptr, nullptr));

    // DevQueryPrint is the spooler library's own function, passed through.
    HMODULE hSpooler = LoadLibraryA("winspool.drv");
    ASSERT_NE(hSpooler, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(hSpooler, "DevQueryPrint")),
              reinterpret_cast<void*>(entry<void (*)()>("DevQueryPrint")));
    FreeLibrary(hSpooler);
}

}

}
