#include "setup/PrinterRemoval.h"

#include "setup/PrinterRegistration.h"
#include "setup/RegistryKey.h"
#include "setup/SetupResult.h"
#include "util/Handles.h"
#include "util/Locations.h"
#include "util/Text.h"

#include <windows.h>
#include <tlhelp32.h>
#include <winspool.h>

namespace velmo::setup {

namespace {

using PrinterHandle = util::ScopedHandle<HANDLE, ClosePrinter>;

HANDLE openPrinter(const std::string& printerName, ACCESS_MASK nAccess)
{
    std::string name = printerName;
    PRINTER_DEFAULTSA defaults{nullptr, nullptr, nAccess};
    HANDLE hPrinter = nullptr;
    return OpenPrinterA(name.data(), &hPrinter, &defaults) ? hPrinter : nullptr;
}

// Deletes the subkey only where the parent key already exists.
void deleteExistingKey(const std::string& parentPath, const std::string& name)
{
    HKEY hParent = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parentPath.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &hParent)
        != ERROR_SUCCESS)
        return;
    RegDeleteTreeA(hParent, name.c_str());
    RegCloseKey(hParent);
}

}

bool printerExists(const std::string& printerName)
{
    // The spooler may take an empty name for the print server itself.
    if (printerName.empty())
        return false;
    return PrinterHandle(openPrinter(printerName, PRINTER_ACCESS_USE | READ_CONTROL)).isValid();
}

util::ResultCode deletePrinter(const std::string& name)
{
    const std::string printerName = util::text::trim(name);
    if (printerName.empty())
        return code::deleteNoPrinterName;
    if (const PrinterHandle printer(openPrinter(printerName, PRINTER_ALL_ACCESS)); printer.isValid())
        DeletePrinter(printer.get());
    deleteExistingKey(printersKey, printerName);
    deleteExistingKey(driverVersionKey(util::environmentX86), printerName);
    deleteExistingKey(driverVersionKey(util::environmentX64), printerName);
    return printerExists(printerName) ? code::printerStillPresent : util::code::success;
}

void endProcessesNamed(const std::string& prefix)
{
    const util::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.isValid())
        return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = Process32First(snapshot.get(), &entry); bMore; bMore = Process32Next(snapshot.get(), &entry)) {
        if (util::text::startsWith(entry.szExeFile, prefix, true)) {
            const util::FileHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
            if (process.isValid())
                TerminateProcess(process.get(), 0);
        }
        // Lets an ended process go before the walk moves on.
        Sleep(10);
    }
}

}
