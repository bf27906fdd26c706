// The debug log: `debuglog.txt` beside the program, opened when the movie asks for it. Every line
// (script errors through reportError, `put` output) goes to standard error as well, so a log that
// cannot be created loses nothing that a developer watching the program would see.
#pragma once

#include <string>
#include <string_view>

namespace qn::debug_log {

// Creates or truncates the log file; false (lines still reach standard error) when it cannot.
// Failures to create or write the file are said on standard error once, as they happen.
bool open();
bool open(const std::string& path);
void close();
bool isOpen();

// Writes the line as given (callers end it with "\r\n" as the log's lines are).
void writeLine(std::string_view line);

// The log file's path beside the program.
std::string defaultPath();

// What went wrong with the log file since the last call ("<path>: cannot write: <reason>"), or
// empty; the run ends with a failure when it is not.
std::string takeProblem();

}  // namespace qn::debug_log
