#pragma once

#include "Menu.h"

// A dialog that answers the menu that opened it once its closing fade has
// ended: resultCode after item 1 (YES, OK), 0 otherwise.
class AnswerDialog : public Menu {
public:
    using Menu::Menu;

    Menu* parent = nullptr;       // not owned; set by the creator
    std::int32_t resultCode = 0;  // set by the creator

protected:
    void ClosingAction() override;
    // Item 1 or 2 clicked: the select sound and the close.
    void AnswerClick();
};
