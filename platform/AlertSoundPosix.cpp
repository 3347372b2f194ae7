#include "AlertSound.h"

namespace platform {

void playCriticalStop()
{
    // Qt on X11 or Wayland has no system sound for a critical stop: the message box opens silently.
}

} // namespace platform
