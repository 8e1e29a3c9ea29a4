#include "LoadFailedDialog.h"

#include "ResourceTables.h"

LoadFailedDialog::LoadFailedDialog(int halfWidth, int halfHeight, float centreX, float centreY)
    : LoadFailedDialog(halfWidth, halfHeight, centreX, centreY, "FAILED TO LOAD SAVED DATA",
                       "FILE IS CORRUPT OR MISSING")
{
}

LoadFailedDialog::LoadFailedDialog(int halfWidth, int halfHeight, float centreX, float centreY,
                                   const char* firstLine_, const char* secondLine_)
    : Menu(halfWidth, halfHeight, centreX, centreY, 0.5f), firstLine(firstLine_), secondLine(secondLine_)
{
}

void LoadFailedDialog::Update()
{
    if (!RunHead())
        return;
    HitTest({{1, Bottom() - 20.0f, Bottom()}});
    if (Clicked()) {
        PlaySound(SampleId::UI3);
        Close();
    }
}

void LoadFailedDialog::Draw(float, ScreenCanvas& canvas)
{
    DrawFrame(canvas);
    DrawLabel(canvas, firstLine, Top());
    DrawLabel(canvas, secondLine, Top() + 20.0f);
    DrawLabel(canvas, "DONE", Bottom() - 20.0f, 1);
    DrawCursor(canvas);
}
