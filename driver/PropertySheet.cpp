#include "driver/PropertySheet.h"

#include "driver/DriverConfig.h"

#include "core/object.Heap.h"

#include <new>

namespace velmo::driver {

namespace {

using core::object::Heap;

constexpr WORD sheetFlags = CPSUIF_UPDATE_PERMISSION | CPSUIF_ABOUT_CALLBACK;
constexpr WORD sheetVersion = 0x0400;

static_assert(sizeof(void*) != 4 || (sizeof(COMPROPSHEETUI) == 64 && sizeof(OPTITEM) == 52),
              "the x86 blocks keep the library's published layout");

LONG APIENTRY ignoreSheetEvent(PCPSUICBPARAM /*pParam*/)
{
    return CPSUICB_ACTION_NONE;
}

// The library only reads the texts; its structures declare them writable.
LPWSTR sheetText(const wchar_t* pszText)
{
    return const_cast<LPWSTR>(pszText);
}

// Without an option type the item is a header that shows its icon and cannot be edited.
OPTITEM driverItem()
{
    OPTITEM item{};
    item.cbSize = sizeof(OPTITEM);
    item.pName = sheetText(driverConfig().driverInfo);
    item.Sel = IDI_CPSUI_PAPER_OUTPUT;
    return item;
}

COMPROPSHEETUI sheetDescription(OPTITEM* pItem)
{
    const DriverConfig& config = driverConfig();
    COMPROPSHEETUI sheet{};
    sheet.cbSize = sizeof(COMPROPSHEETUI);
    sheet.Flags = sheetFlags;
    sheet.hInstCaller = config.hInstance;
    sheet.pCallerName = sheetText(config.deviceName);
    sheet.pfnCallBack = ignoreSheetEvent;
    sheet.pOptItem = pItem;
    sheet.pDlgPage = CPSUI_PDLGPAGE_PRINTERPROP;
    sheet.cOptItem = 1;
    sheet.pOptItemName = sheetText(config.deviceName);
    sheet.CallerVersion = sheetVersion;
    sheet.OptItemVersion = sheetVersion;
    return sheet;
}

template <typename TBlock>
TBlock* allocateBlock(const TBlock& value)
{
    void* pBlock = Heap::allocateMemory(sizeof(TBlock), false);
    return pBlock ? new (pBlock) TBlock(value) : nullptr;
}

// Null when memory is short; nothing is kept then.
COMPROPSHEETUI* createSheetBlocks()
{
    OPTITEM* pItem = allocateBlock(driverItem());
    if (!pItem)
        return nullptr;
    COMPROPSHEETUI* pSheet = allocateBlock(sheetDescription(pItem));
    if (!pSheet)
        Heap::freeMemory(pItem, false);
    return pSheet;
}

void releaseSheetBlocks(COMPROPSHEETUI* pSheet)
{
    if (!pSheet)
        return;
    Heap::freeMemory(pSheet->pOptItem, false);
    Heap::freeMemory(pSheet, false);
}

LONG openSheet(PROPSHEETUI_INFO& info)
{
    if (!info.pfnComPropSheet)
        return -1;
    COMPROPSHEETUI* pSheet = createSheetBlocks();
    if (!pSheet)
        return -1;
    info.UserData = reinterpret_cast<ULONG_PTR>(pSheet);
    // Wide enough for whatever width the library writes its page count in.
    ULONG_PTR nAddResult = 0;
    if (info.pfnComPropSheet(info.hComPropSheet, CPSFUNC_ADD_PCOMPROPSHEETUIW, reinterpret_cast<LPARAM>(pSheet),
                             reinterpret_cast<LPARAM>(&nAddResult)) != 0) {
        info.Result = 0;
        return 1;
    }
    releaseSheetBlocks(pSheet);
    info.UserData = 0;
    return 1;
}

void closeSheet(PROPSHEETUI_INFO& info)
{
    releaseSheetBlocks(reinterpret_cast<COMPROPSHEETUI*>(info.UserData));
    info.UserData = 0;
}

}

LONG handlePropertySheetCall(PROPSHEETUI_INFO& info, LONG nOtherReasonResult)
{
    switch (info.Reason) {
    case PROPSHEETUI_REASON_INIT:
        return openSheet(info);
    case PROPSHEETUI_REASON_DESTROY:
        closeSheet(info);
        return 1;
    default:
        return nOtherReasonResult;
    }
}

}
