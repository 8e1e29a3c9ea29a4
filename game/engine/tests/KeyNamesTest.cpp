#include "KeyNames.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(KeyNamesTest, NamesByCode)
{
    const struct {
        KeyCode code;
        const char* name;
    } rows[] = {
        {0, "PRESS KEY"},      {1, "LMB"},           {3, "RMB"},          {4, ""},
        {7, ""},               {8, "BACKSPACE"},     {9, "TAB"},          {12, "CLEAR"},
        {19, "PAUSE"},         {27, "ESCAPE"},       {32, "SPACE"},       {37, ""},
        {47, "SLASH"},         {48, "0"},            {57, "9"},           {64, "AT"},
        {65, ""},              {96, "BACKQUOTE"},    {97, "A"},           {122, "Z"},
        {123, ""},             {127, "DELETE"},      {159, ""},           {160, "WORLD_0"},
        {255, "WORLD_95"},     {256, "KEYPAD0"},     {266, "KEYPAD PERIOD"}, {272, "KEYPAD EQUALS"},
        {273, "UP"},           {281, "PAGEDOWN"},    {282, "F1"},         {296, "F15"},
        {297, ""},             {299, ""},            {300, "NUMLOCK"},    {302, "SCROLLOCK"},
        {311, "LEFT SUPER"},   {322, "UNDO"},        {323, "JOYLEFT"},    {326, "JOYDOWN"},
        {327, "JOYBUTTON1"},   {346, "JOYBUTTON20"}, {347, "MOUSE1"},     {356, "MOUSE10"},
        // Codes read from "Input.dat" are not checked: they simply have no name.
        {357, ""},             {-1, ""},             {100000, ""},        {INT_MIN, ""},
        {INT_MAX, ""},
    };
    for (const auto& row : rows)
        EXPECT_STREQ(KeyName(row.code), row.name) << "code " << row.code;
}

TEST(KeyNamesTest, EightyEightCodesHaveNoName)
{
    int empty = 0;
    for (KeyCode code = 0; code < kKeyNameCount; ++code) {
        ASSERT_NE(KeyName(code), nullptr);
        if (std::string(KeyName(code)).empty())
            ++empty;
    }
    EXPECT_EQ(empty, 88);
}

} // namespace
