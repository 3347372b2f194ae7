#include "Application.h"

namespace platform {

std::unique_ptr<QApplication> makeApplication(int& argc, char** argv)
{
    return std::make_unique<QApplication>(argc, argv);
}

void restrictLibrarySearch() { }

} // namespace platform
