#pragma once

#include <functional>

class Log;

// The program's top level: runs body and answers its exit status. An
// exception that escapes body is logged as a failure ("Fatal error (<type>):
// <what>", as much as is known of it, to the log file and the error stream)
// and answers 1, so a fatal error can never look like a normal end.
int RunReportingFatalErrors(const std::function<int()>& body, Log& log);
