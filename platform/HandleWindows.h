#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

namespace platform {

// Handles that are closed when they go out of scope: on every way out of the code that opened them, an
// exception's included. Only a valid handle is given to one.
struct HandleCloser
{
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// A listing's, which FindClose() closes.
struct FindHandleCloser
{
    void operator()(HANDLE handle) const { FindClose(handle); }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindHandleCloser>;

} // namespace platform
