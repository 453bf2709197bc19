#ifndef VELMO_DRIVER_PROPERTYSHEET_H
#define VELMO_DRIVER_PROPERTYSHEET_H

#include <windows.h>
#include <compstui.h>

namespace velmo::driver {

// The printer's property sheet: one informational item naming the driver, nothing to edit.
// Each open sheet owns its own pair of blocks (the sheet description and its item), reached
// only through its PROPSHEETUI_INFO.UserData from the initialising call to the destroying
// one, so that sheets open at the same time never touch each other's blocks.
//
// Handles one call of the common property-sheet library: the initialising reason builds the
// blocks and hands them to pfnComPropSheet (1, or -1 when memory is short or there is no
// library function to call), the destroying reason releases them (1); any other reason
// answers nOtherReasonResult.
LONG handlePropertySheetCall(PROPSHEETUI_INFO& info, LONG nOtherReasonResult);

}

#endif
