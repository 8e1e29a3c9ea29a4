#pragma once

// Switches the platform's character translation for key events on while a
// text entry runs and off when it ends. Input logic calls it through this
// interface so it can run without a window.
class TextInputMode {
public:
    virtual ~TextInputMode() = default;
    virtual void SetCharacterTranslation(bool on) = 0;
};
