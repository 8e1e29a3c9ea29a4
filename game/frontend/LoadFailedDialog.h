#pragma once

#include "Menu.h"

// "FAILED TO LOAD SAVED DATA" with DONE (1) in its lowest 20 units.
class LoadFailedDialog : public Menu {
public:
    LoadFailedDialog(int halfWidth, int halfHeight, float centreX, float centreY);
    void Update() override;
    void Draw(float alpha, ScreenCanvas& canvas) override;

protected:
    // The same dialog with other message lines.
    LoadFailedDialog(int halfWidth, int halfHeight, float centreX, float centreY, const char* firstLine,
                     const char* secondLine);

private:
    const char* firstLine;
    const char* secondLine;
};
