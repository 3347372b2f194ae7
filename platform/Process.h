#pragma once

#include <QString>

namespace platform {

// Starts the program file at path as a new, independent process: no arguments, no shell, the current
// directory inherited. Nothing of it is kept or waited for. Error 53 when the file does not exist, 70 when
// it may not be executed, 75 when it is no file or cannot be started for another reason.
void startProgram(const QString& path);

} // namespace platform
