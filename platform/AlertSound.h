#pragma once

namespace platform {

// Sounds the workstation's critical stop, as a Windows message box with that icon does when it opens.
// Nothing where the system has no such sound.
void playCriticalStop();

} // namespace platform
