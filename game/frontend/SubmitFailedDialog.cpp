#include "SubmitFailedDialog.h"

#include "Game.h"

SubmitFailedDialog::SubmitFailedDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : LoadFailedDialog(halfWidth, halfHeight, centreX, centreY, "FAILED TO SUBMIT HISCORE", "TO THE ONLINE DATABASE")
{
}

void SubmitFailedDialog::ClosingAction() { theGame->tickCount = 0; }
