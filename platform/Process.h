#pragma once

#include <QString>

namespace platform {

// Starts the program file at path as a new, independent process: no arguments, no shell, the current
// directory inherited. Nothing of it is kept or waited for. Error 53 when the file does not exist, 70 when
// it may not be executed, 75 when it is no file or cannot be started for another reason, with the
// system's own text where it gave one (a file server that does not answer, a missing interpreter).
void startProgram(const QString& path);

// Ends the process at once with status, waiting for nothing: not for threads stuck in a file system whose
// server has stopped answering, not for the event loop, not for destructors. Nothing is flushed or saved.
[[noreturn]] void endProcessNow(int status);

} // namespace platform
