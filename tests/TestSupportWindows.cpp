#include "TestSupport.h"

#include <QCoreApplication>

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

QString settingsFile()
{
    return {}; // the registry
}

bool makeFifo(const QString&)
{
    return false;
}

void makeRecordingProgram(const QString& path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/test_program.exe"), path));
}

bool makeFolder(const QByteArray&)
{
    return false;
}

bool enterFolder(const QByteArray&)
{
    return false;
}

bool posixFiles()
{
    return false;
}

bool isRoot()
{
    return false;
}

bool makeSocket(const QString&)
{
    return false;
}

struct Share::Mount
{
};

Share::Share(const QString&, const QStringList&, int)
    : m_why(QStringLiteral("no FUSE share here"))
{
}

Share::~Share() = default;

QMap<QString, long> Share::requests()
{
    return {};
}

} // namespace testsupport
