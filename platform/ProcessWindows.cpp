#include "Process.h"

#include "HandleWindows.h"
#include "RuntimeError.h"
#include "SystemError.h"

#include <QDir>

#include <string>

#include <windows.h>

namespace platform {

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
        throw requestError(GetLastError(), path, RequestTarget::File);
    }
    // Nothing of the new process is kept.
    const Handle thread(process.hThread);
    const Handle started(process.hProcess);
}

void endProcessNow(int status)
{
    // ExitProcess would first wait for the loader lock and notify every DLL; a thread stuck in a network
    // request must keep no one waiting.
    TerminateProcess(GetCurrentProcess(), UINT(status));
    ExitProcess(UINT(status));
}

} // namespace platform
