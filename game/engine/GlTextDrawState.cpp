#include "GlState.h"
#include "TextDrawState.h"

#include <GL/gl.h>

namespace {

class GlTextDrawState : public TextDrawState {
public:
    void BindTexture(unsigned int texture) override { ::BindTexture(GL_TEXTURE_2D, static_cast<int>(texture)); }
    void SetBlend(int source, int destination) override { ::SetBlend(source, destination); }
    void Finish() override
    {
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
    }
};

} // namespace

TextDrawState& GlTextState()
{
    static GlTextDrawState state;
    return state;
}
