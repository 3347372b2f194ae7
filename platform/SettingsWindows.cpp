#include "Settings.h"

#include "RuntimeError.h"

#include <QDir>

#include <string>

#include <windows.h>

namespace platform {

namespace {

// Where the classic SaveSetting and GetSetting keep per-user application settings; the application
// name's levels and the section are nested keys below it, the key a string value.
const QString Branch = QStringLiteral("Software\\VB and VBA Program Settings\\");

QString sectionKey(const QString& appName, const QString& section)
{
    return Branch + appName + u'\\' + section;
}

[[noreturn]] void raise(LSTATUS status, const QString& key)
{
    throw RuntimeError(status == ERROR_ACCESS_DENIED ? Error::PermissionDenied : Error::PathFileAccess,
                       QStringLiteral("HKEY_CURRENT_USER\\") + key);
}

struct Key
{
    HKEY handle = nullptr;
    ~Key()
    {
        if (handle)
            RegCloseKey(handle);
    }
};

} // namespace

QString getSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue)
{
    const QString path = sectionKey(appName, section);
    Key opened;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.toStdWString().c_str(), 0, KEY_QUERY_VALUE, &opened.handle);
    if (status == ERROR_FILE_NOT_FOUND)
        return defaultValue;
    if (status != ERROR_SUCCESS)
        raise(status, path);

    const std::wstring name = key.toStdWString();
    DWORD type = 0;
    DWORD size = 0;
    status = RegQueryValueExW(opened.handle, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return defaultValue;
    if (status != ERROR_SUCCESS)
        raise(status, path);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw RuntimeError(Error::PathFileAccess, QStringLiteral("HKEY_CURRENT_USER\\") + path);
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = DWORD(value.size() * sizeof(wchar_t));
    status =
        RegQueryValueExW(opened.handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
    if (status != ERROR_SUCCESS)
        raise(status, path);
    value.resize(size / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0')
        value.pop_back();
    // The value is a path: kept with the platform's separators, as the suite's own launcher stores it.
    return QDir::fromNativeSeparators(QString::fromStdWString(value));
}

void saveSetting(const QString& appName, const QString& section, const QString& key, const QString& value)
{
    const QString path = sectionKey(appName, section);
    Key created;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.toStdWString().c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &created.handle, nullptr);
    if (status != ERROR_SUCCESS)
        raise(status, path);
    const std::wstring text = QDir::toNativeSeparators(value).toStdWString();
    status = RegSetValueExW(created.handle, key.toStdWString().c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), DWORD((text.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        raise(status, path);
}

} // namespace platform
