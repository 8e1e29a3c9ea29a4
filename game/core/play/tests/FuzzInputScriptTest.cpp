// Seeded mutations of a recorded run against the script reader: it never
// fails unsafely, every script it accepts keeps its limits, and every
// refusal names a line of the text. Deterministic: a failing iteration is
// reproduced by its number.
#include "InputScript.h"
#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

const char* const kSeed = "# the Landfall run\nmap Landfall\n230\n40 BOOST\n12 CW mouse=-2\n"
                          "60 BOOST FIRE\n8 CCW SHIELD\n300\n";

TEST(FuzzInputScript, MutatedScriptsAreReadSafely)
{
    MutationHints hints;
    hints.tokens = {"\n", " ", "#", "map ", "FIRE", "mouse=", "-", "9999999999", "0", "BOOST", "\r\n", "\t"};
    hints.maxInsert = 80;
    for (std::uint32_t i = 0; i < 3000; ++i) {
        Mutator mutator(i);
        const std::string text = mutator.Mutate(std::string(kSeed), hints);
        InputScript script;
        std::string error;
        const bool ok = ParseInputScript(text, script, error);
        const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
        if (ok) {
            std::int64_t total = 0;
            for (const InputScriptStep& step : script.steps) {
                ASSERT_GE(step.ticks, 1) << "iteration " << i;
                ASSERT_LE(step.mouseDx, 10000) << "iteration " << i;
                ASSERT_GE(step.mouseDx, -10000) << "iteration " << i;
                total += step.ticks;
            }
            ASSERT_LE(total, kInputScriptMaxTicks) << "iteration " << i;
            ASSERT_LT(script.map.size(), 64u) << "iteration " << i;
        } else {
            ASSERT_EQ(error.rfind("line ", 0), 0u) << "iteration " << i << ": " << error;
            const long line = std::strtol(error.c_str() + 5, nullptr, 10);
            ASSERT_GE(line, 1) << "iteration " << i;
            ASSERT_LE(line, lines) << "iteration " << i;
        }
    }
}

} // namespace
