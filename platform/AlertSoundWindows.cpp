#include "AlertSound.h"

#include <QAccessible>

#include <windows.h>

namespace platform {

void playCriticalStop()
{
    // Qt's Windows plugin plays a message box's sound only once UI Automation is active (a screen reader,
    // say): QWindowsUiaAccessibility::notifyAccessibilityUpdate. Then it is played there, and not twice.
    if (QAccessible::isActive())
        return;
    MessageBeep(MB_ICONHAND);
}

} // namespace platform
