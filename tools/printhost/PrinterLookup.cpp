#include "tools/printhost/PrinterLookup.h"

#include <windows.h>
#include <winspool.h>

namespace velmo::tools::printhost {

namespace {

const std::wstring printKey = L"SYSTEM\\CurrentControlSet\\Control\\Print";

#ifdef _WIN64
const wchar_t environment[] = L"Windows x64";
#else
const wchar_t environment[] = L"Windows NT x86";
#endif

bool readText(const std::wstring& key, const wchar_t* pszValue, std::wstring& text)
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD cbBuffer = sizeof(buffer) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), pszValue, RRF_RT_REG_SZ, nullptr, buffer, &cbBuffer) !=
        ERROR_SUCCESS)
        return false;
    text = buffer;
    return !text.empty();
}

}

std::wstring findPrinterDriverFile(const std::wstring& printerName, std::string& error)
{
    std::wstring driverName;
    if (!readText(printKey + L"\\Printers\\" + printerName, L"Printer Driver", driverName)) {
        error = "the printer is not registered";
        return {};
    }
    std::wstring driverFile;
    const std::wstring driverKey = printKey + L"\\Environments\\" + environment + L"\\Drivers\\Version-3\\" + driverName;
    if (!readText(driverKey, L"Driver", driverFile)) {
        error = "the printer's driver is not registered";
        return {};
    }
    wchar_t directory[MAX_PATH] = {};
    DWORD cbNeeded = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(environment), 1,
                                    reinterpret_cast<BYTE*>(directory), sizeof(directory), &cbNeeded)) {
        error = "the printer-driver directory is unknown";
        return {};
    }
    return std::wstring(directory) + L"\\3\\" + driverFile;
}

}
