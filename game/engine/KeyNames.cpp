#include "KeyNames.h"

namespace {

// Display names of every KeyCode, indexed by code.
const char* const kKeyNames[kKeyNameCount] = {
    /*   0 */ "PRESS KEY", "LMB", "MMB", "RMB", "", "", "", "",
    /*   8 */ "BACKSPACE", "TAB", "", "", "CLEAR", "RETURN", "", "",
    /*  16 */ "", "", "", "PAUSE", "", "", "", "",
    /*  24 */ "", "", "", "ESCAPE", "", "", "", "",
    /*  32 */ "SPACE", "EXCLAIM", "QUOTEDBL", "HASH", "DOLLAR", "", "AMPERSAND", "QUOTE",
    /*  40 */ "LEFTPAREN", "RIGHTPAREN", "ASTERISK", "PLUS", "COMMA", "MINUS", "PERIOD", "SLASH",
    /*  48 */ "0", "1", "2", "3", "4", "5", "6", "7",
    /*  56 */ "8", "9", "COLON", "SEMICOLON", "LESS", "EQUALS", "GREATER", "QUESTION",
    /*  64 */ "AT", "", "", "", "", "", "", "",
    /*  72 */ "", "", "", "", "", "", "", "",
    /*  80 */ "", "", "", "", "", "", "", "",
    /*  88 */ "", "", "", "LEFTBRACKET", "BACKSLASH", "RIGHTBRACKET", "CARET", "UNDERSCORE",
    /*  96 */ "BACKQUOTE", "A", "B", "C", "D", "E", "F", "G",
    /* 104 */ "H", "I", "J", "K", "L", "M", "N", "O",
    /* 112 */ "P", "Q", "R", "S", "T", "U", "V", "W",
    /* 120 */ "X", "Y", "Z", "", "", "", "", "DELETE",
    /* 128 */ "", "", "", "", "", "", "", "",
    /* 136 */ "", "", "", "", "", "", "", "",
    /* 144 */ "", "", "", "", "", "", "", "",
    /* 152 */ "", "", "", "", "", "", "", "",
    /* 160 */ "WORLD_0", "WORLD_1", "WORLD_2", "WORLD_3", "WORLD_4", "WORLD_5", "WORLD_6", "WORLD_7",
    /* 168 */ "WORLD_8", "WORLD_9", "WORLD_10", "WORLD_11", "WORLD_12", "WORLD_13", "WORLD_14", "WORLD_15",
    /* 176 */ "WORLD_16", "WORLD_17", "WORLD_18", "WORLD_19", "WORLD_20", "WORLD_21", "WORLD_22", "WORLD_23",
    /* 184 */ "WORLD_24", "WORLD_25", "WORLD_26", "WORLD_27", "WORLD_28", "WORLD_29", "WORLD_30", "WORLD_31",
    /* 192 */ "WORLD_32", "WORLD_33", "WORLD_34", "WORLD_35", "WORLD_36", "WORLD_37", "WORLD_38", "WORLD_39",
    /* 200 */ "WORLD_40", "WORLD_41", "WORLD_42", "WORLD_43", "WORLD_44", "WORLD_45", "WORLD_46", "WORLD_47",
    /* 208 */ "WORLD_48", "WORLD_49", "WORLD_50", "WORLD_51", "WORLD_52", "WORLD_53", "WORLD_54", "WORLD_55",
    /* 216 */ "WORLD_56", "WORLD_57", "WORLD_58", "WORLD_59", "WORLD_60", "WORLD_61", "WORLD_62", "WORLD_63",
    /* 224 */ "WORLD_64", "WORLD_65", "WORLD_66", "WORLD_67", "WORLD_68", "WORLD_69", "WORLD_70", "WORLD_71",
    /* 232 */ "WORLD_72", "WORLD_73", "WORLD_74", "WORLD_75", "WORLD_76", "WORLD_77", "WORLD_78", "WORLD_79",
    /* 240 */ "WORLD_80", "WORLD_81", "WORLD_82", "WORLD_83", "WORLD_84", "WORLD_85", "WORLD_86", "WORLD_87",
    /* 248 */ "WORLD_88", "WORLD_89", "WORLD_90", "WORLD_91", "WORLD_92", "WORLD_93", "WORLD_94", "WORLD_95",
    /* 256 */ "KEYPAD0", "KEYPAD1", "KEYPAD2", "KEYPAD3", "KEYPAD4", "KEYPAD5", "KEYPAD6", "KEYPAD7",
    /* 264 */ "KEYPAD8", "KEYPAD9", "KEYPAD PERIOD", "KEYPAD DIVIDE", "KEYPAD MULTIPLY", "KEYPAD MINUS", "KEYPAD PLUS", "KEYPAD ENTER",
    /* 272 */ "KEYPAD EQUALS", "UP", "DOWN", "RIGHT", "LEFT", "INSERT", "HOME", "END",
    /* 280 */ "PAGEUP", "PAGEDOWN", "F1", "F2", "F3", "F4", "F5", "F6",
    /* 288 */ "F7", "F8", "F9", "F10", "F11", "F12", "F13", "F14",
    /* 296 */ "F15", "", "", "", "NUMLOCK", "CAPSLOCK", "SCROLLOCK", "RIGHT SHIFT",
    /* 304 */ "LEFT SHIFT", "RIGHT CTRL", "LEFT CTRL", "RIGHT ALT", "LEFT ALT", "RIGHT META", "LEFT META", "LEFT SUPER",
    /* 312 */ "RIGHT SUPER", "MODE", "COMPOSE", "HELP", "PRINT", "SYSREQ", "BREAK", "MENU",
    /* 320 */ "POWER", "EURO", "UNDO", "JOYLEFT", "JOYRIGHT", "JOYUP", "JOYDOWN", "JOYBUTTON1",
    /* 328 */ "JOYBUTTON2", "JOYBUTTON3", "JOYBUTTON4", "JOYBUTTON5", "JOYBUTTON6", "JOYBUTTON7", "JOYBUTTON8", "JOYBUTTON9",
    /* 336 */ "JOYBUTTON10", "JOYBUTTON11", "JOYBUTTON12", "JOYBUTTON13", "JOYBUTTON14", "JOYBUTTON15", "JOYBUTTON16", "JOYBUTTON17",
    /* 344 */ "JOYBUTTON18", "JOYBUTTON19", "JOYBUTTON20", "MOUSE1", "MOUSE2", "MOUSE3", "MOUSE4", "MOUSE5",
    /* 352 */ "MOUSE6", "MOUSE7", "MOUSE8", "MOUSE9", "MOUSE10",
};

} // namespace

const char* KeyName(KeyCode code)
{
    // Codes come from "Input.dat" unchecked: anything outside the table has no name.
    if (code < 0 || code >= kKeyNameCount)
        return "";
    return kKeyNames[code];
}
