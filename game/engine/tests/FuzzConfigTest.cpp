// Seeded mutations of a valid "Input.dat" against the key configuration
// loader and ConfigFile's string binding: an existing file is never written,
// each key takes the number of its first line when that parses and keeps its
// default otherwise, and whatever codes the file holds drive the input state
// safely. Deterministic: a failing iteration is reproduced by its number.
#include "ConfigFile.h"
#include "InputState.h"
#include "KeyConfig.h"
#include "KeyNames.h"
#include "Log.h"

#include "support/ScratchDir.h"
#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The words of a line, split at the classic locale's white space.
std::vector<std::string> Words(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

// The words of the first line whose first word is the key.
std::optional<std::vector<std::string>> KeyLine(const std::string& text, const std::string& key)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::vector<std::string> words = Words(text.substr(at, end - at));
        if (!words.empty() && words[0] == key)
            return words;
        at = end + 1;
    }
    return std::nullopt;
}

// A decimal int at the start of the value word; none when there is no digit
// or the number overflows an int.
std::optional<int> IntValue(const std::string& text, const std::string& key)
{
    const auto words = KeyLine(text, key);
    if (!words || words->size() < 3)
        return std::nullopt;
    const char* begin = (*words)[2].c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return std::nullopt;
    return static_cast<int>(v);
}

// The longest start of a word that reads as a decimal float: sign, digits,
// point, digits, exponent (no hexadecimal, "inf" or "nan").
std::string FloatPrefix(const std::string& word)
{
    std::size_t i = 0;
    auto digits = [&] {
        while (i < word.size() && word[i] >= '0' && word[i] <= '9')
            ++i;
    };
    if (i < word.size() && (word[i] == '+' || word[i] == '-'))
        ++i;
    digits();
    if (i < word.size() && word[i] == '.')
        ++i, digits();
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < word.size() && (word[i] == '+' || word[i] == '-'))
            ++i;
        digits();
    }
    return word.substr(0, i);
}

struct Binding {
    const char* key;
    ButtonIndex button;
    bool primary;
};

const Binding kBindings[] = {
    {"BOOST_PRIME", ButtonBoost, true},   {"BOOST_ALT", ButtonBoost, false},
    {"FIRE_PRIME", ButtonFire, true},     {"FIRE_ALT", ButtonFire, false},
    {"SHIELD_PRIME", ButtonShield, true}, {"SHIELD_ALT", ButtonShield, false},
    {"CW_PRIME", ButtonCw, true},         {"CW_ALT", ButtonCw, false},
    {"CCW_PRIME", ButtonCcw, true},       {"CCW_ALT", ButtonCcw, false},
    {"PAUSE_PRIME", ButtonPause, true},   {"PAUSE_ALT", ButtonPause, false},
};

KeyCode& Code(InputState& input, const Binding& b)
{
    return b.primary ? input.Button(b.button).primary : input.Button(b.button).alternative;
}

TEST(FuzzConfigTest, MutatedKeyFilesReadEachKeyOrKeepItsDefaultAndAreNeverWritten)
{
    ScratchDir dir;
    const std::string path = dir.File("Input.dat");
    std::ostringstream console;
    Log log(dir.File("Logfile.txt"), console);
    log.SetEnabled(true);

    // The defaults, as a fresh run writes them, and the codes they hold.
    InputState defaults;
    {
        ConfigFile firstRun;
        LoadKeyConfig(defaults, firstRun, log, path);
    }
    const std::string defaultFile = ReadWholeFile(path);
    ASSERT_NE(defaultFile.find("FIRE_PRIME\t= 1\n"), std::string::npos);
    const std::vector<std::string> seeds = {
        defaultFile,
        "Input Configuration\r\nSensi\t= 0.25\r\nFIRE_PRIME\t= 32\r\nCW_ALT = 355 extra words\r\n"
        "PAUSE_PRIME\t= 27\r\nBOOST_ALT\t= -1\r\n",
    };

    MutationHints hints;
    hints.tokens = {"\n",          "\r\n", "\t= ", " ",  "-",  "+",           "2147483648", "-2147483649",
                    "99999999999", "1e39", "nan",  "0x10", "FIRE_PRIME\t= ", "Sensi\t= ", std::string(1, '\0')};
    hints.maxInsert = 40;
    Mutator mutator(0x6b657973u);
    int readValues = 0;
    int keptDefaults = 0;
    for (int iteration = 0; iteration < 3000; ++iteration) {
        const std::string text = mutator.Mutate(seeds[static_cast<std::size_t>(iteration) % seeds.size()], hints);
        WriteWholeFile(path, text);

        // A new run: a fresh ConfigFile, and an input state far from the defaults.
        ConfigFile config;
        InputState input;
        for (ActionButton& b : input.buttons)
            b.primary = b.alternative = 999;
        input.mouseSensitivity = -5.0f;
        input.bindingCapture.waiting = 1;
        console.str("");
        LoadKeyConfig(input, config, log, path);

        ASSERT_EQ(ReadWholeFile(path), text) << "iteration " << iteration;
        ASSERT_EQ(console.str(), "Loading Key config...Done\n") << "iteration " << iteration;
        ASSERT_EQ(input.bindingCapture.waiting, 0);
        ASSERT_EQ(input.Button(ButtonMenuClick).primary, KeyCodes::MouseLeft);
        for (const Binding& b : kBindings) {
            const std::optional<int> value = IntValue(text, b.key);
            value ? ++readValues : ++keptDefaults;
            ASSERT_EQ(Code(input, b), value.value_or(Code(defaults, b))) << "iteration " << iteration << " " << b.key;
        }
        // The sensitivity is a finite number: the file's or the default.
        ASSERT_TRUE(std::isfinite(input.mouseSensitivity)) << "iteration " << iteration;
        if (input.mouseSensitivity != 1.0f) {
            const auto words = KeyLine(text, "Sensi");
            ASSERT_TRUE(words && words->size() >= 3) << "iteration " << iteration;
            ASSERT_EQ(input.mouseSensitivity, std::strtof(FloatPrefix((*words)[2]).c_str(), nullptr)) << "iteration " << iteration;
        }

        // Whatever codes were read, naming them and pressing them is safe.
        for (const Binding& b : kBindings) {
            const KeyCode code = Code(input, b);
            ASSERT_NE(KeyName(code), nullptr);
            input.OnButton(code, true);
            input.AdvanceButtons();
            input.OnButton(code, false);
        }

        // The string binding (the high scores' names) on the same bytes.
        for (const char* key : {"FIRE_PRIME", "Sensi", "Input"}) {
            std::string value = "stale";
            config.BindString(path, key, value);
            const auto words = KeyLine(text, key);
            std::string expected;
            if (words && words->size() < 3)
                expected = "emptyvar";
            for (std::size_t i = 2; words && i < words->size(); ++i)
                expected += (i > 2 ? " " : "") + (*words)[i];
            ASSERT_EQ(value, expected) << "iteration " << iteration << " " << key;
        }
        ASSERT_EQ(ReadWholeFile(path), text) << "iteration " << iteration;
    }
    EXPECT_GT(readValues, 3000);
    EXPECT_GT(keptDefaults, 1000);
}

} // namespace
