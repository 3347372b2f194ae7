#include "Workstation.h"

namespace platform {

AddressSource& systemAddresses()
{
    static InterfaceAddresses addresses;
    return addresses;
}

QProcessEnvironment environment()
{
    // The process's environment block; on Windows its names compare without regard to letter case.
    return QProcessEnvironment::systemEnvironment();
}

} // namespace platform
