#include "TestSupport.h"

#include <windows.h>

namespace testsupport {

namespace {

const wchar_t* const SettingsKey = L"Software\\VB and VBA Program Settings\\Vrex";

} // namespace

void clearSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey);
}

bool settingsStored()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool makeFifo(const QString&)
{
    return false;
}

} // namespace testsupport
