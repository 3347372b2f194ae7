#include "Module1.h"

#include "ErrorText.h"
#include "IzborAplikacije.h"
#include "ReadingProgress.h"

#include "catalogue/Scan.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"
#include "platform/Workstation.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace Module1 {

std::unique_ptr<IzborAplikacije> Main(platform::MessageBox& messages, platform::AddressSource& addresses)
{
    auto form = std::make_unique<IzborAplikacije>(messages, addresses);
    form->Form_Load();
    // Pointing the list at the start directory asks the file server about it: that is reading as the scan
    // is, on the same clock, with the progress window and its way out should the server not answer.
    const catalogue::ScanProgress listing;
    platform::DirectoryList startDirectory;
    form->readingProgress().wait([&] { startDirectory.setPath(platform::currentDirectory()); }, listing);
    form->Dir1 = std::move(startDirectory);
    form->Direktorij();
    form->show();
    form->readingProgress().finish();
    return form;
}

std::unique_ptr<IzborAplikacije> Main(platform::MessageBox& messages)
{
    return Main(messages, platform::systemAddresses());
}

int run(platform::MessageBox& messages, platform::AddressSource& addresses)
{
    std::unique_ptr<IzborAplikacije> form;
    try {
        form = Main(messages, addresses);
    } catch (const platform::RuntimeError& error) {
        reportUnhandled(messages, error);
        return 1;
    }
    return QApplication::exec();
}

void reportUnhandled(platform::MessageBox& messages, const platform::RuntimeError& error)
{
    messages.critical(nullptr, u"MarunIzbor"_s, ErrorText::unhandled(error), error.subject());
}

} // namespace Module1
