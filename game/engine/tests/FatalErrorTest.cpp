#include "FatalError.h"

#include "Log.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <new>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

struct Outcome {
    int status;
    std::string errors;
    std::string file;
};

Outcome RunGuarded(const std::function<int()>& body)
{
    ScratchDir dir;
    std::ostringstream console, errors;
    const std::string path = dir.File("Logfile.txt");
    Log log(path, console, &errors);
    const int status = RunReportingFatalErrors(body, log);
    const std::string file = ReadWholeFile(path);
    const std::size_t header = file.find('\n');
    return {status, errors.str(), header == std::string::npos ? "" : file.substr(header + 1)};
}

TEST(FatalError, BodyStatusPassesThroughWithNothingLogged)
{
    for (int status : {0, 1, 3}) {
        const Outcome outcome = RunGuarded([status] { return status; });
        EXPECT_EQ(outcome.status, status);
        EXPECT_EQ(outcome.errors, "");
        EXPECT_EQ(outcome.file, "");
    }
}

TEST(FatalError, EscapingExceptionsAreLoggedWithTypeAndTextAndFailTheRun)
{
    struct Custom {};
    const struct {
        const char* what;
        std::function<int()> body;
        const char* line;
    } cases[] = {
        {"length error", [] { return static_cast<int>(std::vector<char>().at(3)); }, nullptr},
        {"allocation", []() -> int { throw std::bad_alloc(); }, "Fatal error (std::bad_alloc): std::bad_alloc\n"},
        {"runtime error", []() -> int { throw std::runtime_error("disk on fire"); },
         "Fatal error (std::runtime_error): disk on fire\n"},
        {"not a standard exception", []() -> int { throw 42; },
         "Fatal error (int): an exception that is not a standard one\n"},
        {"local type", []() -> int { throw Custom(); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome outcome = RunGuarded(c.body);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.errors.rfind("Fatal error (", 0), 0u) << outcome.errors;
        EXPECT_EQ(outcome.file, outcome.errors);
        if (c.line != nullptr) {
            EXPECT_EQ(outcome.errors, c.line);
        }
    }
}

} // namespace
