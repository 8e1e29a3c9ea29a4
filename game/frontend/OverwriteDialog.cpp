#include "OverwriteDialog.h"

OverwriteDialog::OverwriteDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : AnswerDialog(halfWidth, halfHeight, centreX, centreY, 0.5f)
{
}

void OverwriteDialog::Update()
{
    if (!RunHead())
        return;
    HitTest({{1, Top() + 50.0f, Top() + 70.0f}, {2, Top() + 70.0f, Top() + 90.0f}});
    AnswerClick();
}

void OverwriteDialog::Draw(float, ScreenCanvas& canvas)
{
    DrawFrame(canvas);
    DrawLabel(canvas, "NEW GAME WILL OVERWRITE", Top());
    DrawLabel(canvas, "EXISTING DATA", Top() + 20.0f);
    DrawLabel(canvas, "OK", Top() + 50.0f, 1);
    DrawLabel(canvas, "CANCEL", Top() + 70.0f, 2);
    DrawCursor(canvas);
}
