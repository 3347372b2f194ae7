#include "Process.h"

#include "RuntimeError.h"

#include <QDir>

#include <string>

#include <windows.h>

namespace platform {

namespace {

// The platform's own text for an error code, without its line end.
QString systemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    return message.isEmpty() ? Error::description(Error::PathFileAccess) : message;
}

} // namespace

void startProgram(const QString& path)
{
    const std::wstring program = QDir::toNativeSeparators(path).toStdWString();
    // The program's own path as its whole command line: no arguments.
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            throw RuntimeError(Error::FileNotFound, path);
        case ERROR_ACCESS_DENIED:
            throw RuntimeError(Error::PermissionDenied, path);
        }
        throw RuntimeError(Error::PathFileAccess, systemMessage(error), path);
    }
    // Nothing of the new process is kept.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace platform
