#pragma once

#include "LoadFailedDialog.h"

// "FAILED TO SUBMIT HISCORE" with DONE (1): 70 units high when the server
// address could not be used, 50 when the server gave no reply.
class SubmitFailedDialog : public LoadFailedDialog {
public:
    SubmitFailedDialog(int halfWidth, int halfHeight, float centreX, float centreY);

protected:
    // The high-score screen's timing starts again.
    void ClosingAction() override;
};
