// The platform services every subsystem may call. This folder (and the rest of shell/) is the only
// code that includes operating-system or SDL headers; everything above it sees these declarations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qn::platform {

// Time. Milliseconds are monotonic and wrap like the device's 32-bit tick count.
uint32_t monotonicMilliseconds();
uint64_t highResolutionCounter();
uint64_t highResolutionFrequency();  // counts per second
void sleepMilliseconds(uint32_t milliseconds);

// The running program's full path and the folder that holds it (without a trailing slash).
const std::string& executablePath();
const std::string& executableFolder();

// Physical memory still available to the program, in bytes.
uint64_t availablePhysicalMemory();

// A line for a debugger: goes to the process's standard error.
void debugOutput(std::string_view line);

enum class MessageBoxButtons { ok, yesNo };
enum class MessageBoxAnswer { ok, yes, no };

// Modal question to the user. Without a display the text goes to standard error and the answer
// is the safe one (No for a question). The shell installs a windowed implementation once it runs.
MessageBoxAnswer messageBox(std::string_view text, std::string_view caption, MessageBoxButtons buttons);

using MessageBoxHandler = MessageBoxAnswer (*)(std::string_view text, std::string_view caption,
                                               MessageBoxButtons buttons);
void setMessageBoxHandler(MessageBoxHandler handler);  // nullptr restores the console fallback

// The console fallback: "caption: text -> answer" on standard error, the text's CR LF line ends
// as plain new lines, and the safe answer.
MessageBoxAnswer consoleMessageBox(std::string_view text, std::string_view caption, MessageBoxButtons buttons);

}  // namespace qn::platform
