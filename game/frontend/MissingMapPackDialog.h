#pragma once

#include "LoadFailedDialog.h"

// "SAVED DATA IS USING A MISSING MAP PACK" with DONE.
class MissingMapPackDialog : public LoadFailedDialog {
public:
    MissingMapPackDialog(int halfWidth, int halfHeight, float centreX, float centreY)
        : LoadFailedDialog(halfWidth, halfHeight, centreX, centreY, "SAVED DATA IS USING A", "MISSING MAP PACK")
    {
    }
};
