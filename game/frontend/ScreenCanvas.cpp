#include "ScreenCanvas.h"

#include "FontSet.h"
#include "GlDrawSink.h"
#include "TextWriter.h"
#include "WorldDrawState.h"

void FontTextWriter::Write(FontSet& font, const char* text, float x, float y)
{
    font.DrawText(text, x, y, sink, state);
}

ScreenCanvas& GlScreenCanvas()
{
    static FontTextWriter writer(GlSink(), GlWorldState());
    static ScreenCanvas canvas{GlSink(), GlWorldState(), writer};
    return canvas;
}
