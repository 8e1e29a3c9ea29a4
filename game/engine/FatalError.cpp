#include "FatalError.h"

#include "Log.h"

#include <exception>
#include <memory>
#include <string>

#if defined(__GNUC__)
#include <cxxabi.h>
#include <cstdlib>
#endif

namespace {

// The type of the exception being handled, readable where the runtime can
// tell it; empty otherwise.
std::string CurrentExceptionType()
{
#if defined(__GNUC__)
    const std::type_info* type = abi::__cxa_current_exception_type();
    if (type == nullptr)
        return {};
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(abi::__cxa_demangle(type->name(), nullptr, nullptr, &status),
                                                    std::free);
    return status == 0 && readable ? readable.get() : type->name();
#else
    return {};
#endif
}

void Report(Log& log, const std::string& type, const char* what)
{
    std::string line = "Fatal error";
    if (!type.empty())
        line += " (" + type + ")";
    line += ": ";
    line += what != nullptr && *what != '\0' ? what : "no description";
    log.WriteError(line + "\n");
}

} // namespace

int RunReportingFatalErrors(const std::function<int()>& body, Log& log)
{
    try {
        return body();
    } catch (const std::exception& error) {
        Report(log, CurrentExceptionType(), error.what());
    } catch (...) {
        Report(log, CurrentExceptionType(), "an exception that is not a standard one");
    }
    return 1;
}
