#include "ConfirmDialog.h"

ConfirmDialog::ConfirmDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : AnswerDialog(halfWidth, halfHeight, centreX, centreY, 0.5f)
{
}

void ConfirmDialog::Update()
{
    if (!RunHead())
        return;
    HitTest({{1, Top() + 30.0f, Top() + 50.0f}, {2, Bottom() - 20.0f, Bottom()}});
    AnswerClick();
}

void ConfirmDialog::Draw(float, ScreenCanvas& canvas)
{
    DrawFrame(canvas);
    DrawLabel(canvas, "ARE YOU SURE?", Top());
    DrawLabel(canvas, "YES", Top() + 30.0f, 1);
    DrawLabel(canvas, "NO", Bottom() - 20.0f, 2);
    DrawCursor(canvas);
}
