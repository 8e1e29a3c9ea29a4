#include "GlState.h"
#include "WorldDrawState.h"

#include <GL/gl.h>
#include <SDL.h>

namespace {

class GlWorldDrawState : public WorldDrawState {
public:
    void BindTexture(unsigned int texture) override { ::BindTexture(GL_TEXTURE_2D, static_cast<int>(texture)); }
    void SetBlend(int source, int destination) override { ::SetBlend(source, destination); }
    void Finish() override
    {
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
    }
    void Clear(float r, float g, float b, float a) override
    {
        glClearColor(r, g, b, a);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void FullViewport(int width, int height) override { glViewport(0, 0, width, height); }
    void Viewport(int x, int y, int width, int height) override { glViewport(x, y, width, height); }
    // The matrix calls are followed in software too (no read-back from the
    // driver), so ShownBox can answer.
    void Setup2DView(float width, float height) override
    {
        ::Setup2DView(width, height);
        view.Setup2DView(width, height);
    }
    void PushMatrix() override
    {
        glPushMatrix();
        view.Push();
    }
    void PopMatrix() override
    {
        glPopMatrix();
        view.Pop();
    }
    void Translate(float x, float y) override
    {
        glTranslatef(x, y, 0.0f);
        view.Translate(x, y);
    }
    void Scale(float x, float y) override
    {
        glScalef(x, y, 1.0f);
        view.Scale(x, y);
    }
    void Rotate(float degrees) override
    {
        glRotatef(degrees, 0.0f, 0.0f, -1.0f);
        view.Rotate(degrees);
    }
    void DisableBlend() override { glDisable(GL_BLEND); }
    void DisableDepthTest() override { glDisable(GL_DEPTH_TEST); }
    void Present() override { SDL_GL_SwapBuffers(); }
    std::optional<PlaneBox> ShownBox() const override { return view.ShownBox(); }

private:
    ViewMatrices view;
};

} // namespace

WorldDrawState& GlWorldState()
{
    static GlWorldDrawState state;
    return state;
}
