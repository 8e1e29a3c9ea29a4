#pragma once

#include "Fade.h"
#include "Vec2.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

struct ScreenCanvas;
enum class SampleId;

// The base of every menu and dialog on the game's menu stack. A menu fades
// in when made and out when closed through a hidden fade of the game's list;
// only the top of the stack animates and takes input. Positions are layout
// units of the game's screen (y down).
class Menu {
public:
    // Plays the open sound, starts the opening fade (alpha 0 to 1 over
    // openSeconds) and shows the cursor.
    Menu(int halfWidth, int halfHeight, float centreX, float centreY, float openSeconds);
    virtual ~Menu() = default;
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // One tick; the class body follows the common head (RunHead).
    virtual void Update() = 0;
    // One frame; alpha is the frame's interpolation factor.
    virtual void Draw(float alpha, ScreenCanvas& canvas) = 0;
    // Starts the closing fade (alpha 1 to 0 over 0.5 s) and plays the close
    // sound; calling it again restarts both.
    virtual void Close();
    // The answer of a dialog this menu opened; 0 is NO or CANCEL.
    virtual void OnChildResult(std::int32_t code);

    bool active = true;           // false once the closing fade was seen finished
    std::int32_t halfWidth = 0;
    std::int32_t halfHeight = 0;
    Vec2 centre;
    // Shared with the game's list: still readable after the list dropped it.
    std::shared_ptr<Fade> fade;
    bool closing = false;
    std::int32_t selected = 0;    // item under the pointer; once closing, the chosen one
    float pulse = 0.0f;
    float alpha = 0.0f;

    float Top() const { return centre.y - static_cast<float>(halfHeight); }
    float Bottom() const { return centre.y + static_cast<float>(halfHeight); }
    bool IsTop() const;

protected:
    // An item's open interval of pointer heights.
    struct Band {
        std::int32_t item;
        float lower;
        float upper;
    };

    // Steps 1 to 4 of every update: only the top runs; pulse, alpha from the
    // fade, the closing action once the closing fade is seen finished. False
    // when the class's own step must not run.
    bool RunHead();
    // What the menu does once its closing fade has ended (after active is
    // cleared).
    virtual void ClosingAction() {}
    // selected := the item whose band holds the pointer (strictly inside the
    // box's width and the band), else 0.
    void HitTest(std::initializer_list<Band> bands);
    // The menu click went down this tick on an item.
    bool Clicked() const;
    // Marks the click as used so a dialog appended now does not take it.
    static void ConsumeClick();
    static void PlaySound(SampleId id);

    // The standard box: shaded fill, outline and a second outline 3 units out.
    void DrawFrame(ScreenCanvas& canvas) const;
    // The menu font at half size, shadow off, centred.
    static void PrepareFont();
    // A label centred on the box: item 0 is plain white, another item pulses
    // while it is the selected one.
    void DrawLabel(ScreenCanvas& canvas, const char* text, float y, std::int32_t item = 0) const;
    void DrawLabelIn(ScreenCanvas& canvas, const char* text, float y, float r, float g, float b) const;
    void DrawCursor(ScreenCanvas& canvas) const;
};
