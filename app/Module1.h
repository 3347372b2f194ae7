#pragma once

#include <memory>

class IzborAplikacije;

namespace platform {
class AddressSource;
class MessageBox;
class RuntimeError;
} // namespace platform

namespace Module1 {

// Brings the window up in the program's fixed order: the window is created and loaded, its directory
// list is pointed at the current directory, the catalogue is built, and only then is the window shown.
// A run-time error that the catalogue build does not handle passes on.
std::unique_ptr<IzborAplikacije> Main(platform::MessageBox& messages, platform::AddressSource& addresses);
// Main with the machine's own address table.
std::unique_ptr<IzborAplikacije> Main(platform::MessageBox& messages);

// Runs the whole program: Main, then the event loop. Returns the process's exit status: 1 after an
// unhandled run-time error, which is reported first.
int run(platform::MessageBox& messages, platform::AddressSource& addresses);

// The report of a run-time error that no handler caught: "Run-time error 'N':", a blank line and the
// description, titled "MarunIzbor".
void reportUnhandled(platform::MessageBox& messages, const platform::RuntimeError& error);

} // namespace Module1
