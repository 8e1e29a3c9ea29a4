#include "ImageLibrary.h"

#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

void InitImageLibrary(Log& log)
{
    log.Write("\n[Initializing Devil]\n");
    ilInit();
    iluInit();
    ilutInit();
    // Texture row 0 is the picture's top row: fonts address glyph cells from
    // the top, and the game draws with y growing downward. Without this, BMP
    // and TGA files would come out in their own stored row order.
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
    // ILUT's uploads go to OpenGL (its default on this platform, stated so
    // that a build whose default differs still makes GL textures).
    ilutRenderer(ILUT_OPENGL);
    log.Write("Complete...\n\n");
}
