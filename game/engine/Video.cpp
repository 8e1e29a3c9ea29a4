#include "Video.h"

#include "DataFile.h"
#include "PictureFile.h"

#include <GL/gl.h>
#include <SDL.h>

#include <string>

namespace {

// putenv keeps the pointer, so the text must live for the whole run.
char centredWindowSetting[] = "SDL_VIDEO_CENTERED=center";

void SetWindowIcon(const char* iconPath)
{
    if (iconPath == nullptr)
        return;
    // A missing or unreadable icon leaves the default one, without a message;
    // so does a path that is no picture-sized file (never opened: a pipe
    // would block, a sparse terabyte be read whole).
    if (InspectDataFile(iconPath, kImageFileSizeCap).state != DataFileState::Readable)
        return;
    if (SDL_Surface* icon = SDL_LoadBMP(iconPath)) {
        SDL_WM_SetIcon(icon, nullptr);
        SDL_FreeSurface(icon);
    }
}

void RequestFramebuffer(int samples, std::string& report)
{
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_BUFFER_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (samples > 0) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);
    } else {
        // Attributes stay set while video stays initialised: an earlier
        // multisample request must not carry over into this mode.
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        report += "Anti-Aliasing not requested!\n";
    }
}

} // namespace

bool InitVideo(const char* caption, int width, int height, int bitsPerPixel, bool fullScreen,
               int samples, Log& log)
{
    return InitVideoWithIcon(caption, width, height, bitsPerPixel, fullScreen, samples, kWindowIconFile,
                             log);
}

bool InitVideoWithIcon(const char* caption, int width, int height, int bitsPerPixel, bool fullScreen,
                       int samples, const char* iconPath, Log& log)
{
    log.Write("\n[Initializing Video Settings]\n");
    SDL_putenv(centredWindowSetting);

    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE) < 0 ||
        SDL_GetVideoInfo() == nullptr) {
        log.Write("\n[Failed to initialize Video Settings]\n");
        return false;
    }

    SetWindowIcon(iconPath);
    SDL_WM_SetCaption(caption != nullptr ? caption : "", nullptr);

    Uint32 flags = SDL_OPENGL;
    if (fullScreen)
        flags |= SDL_FULLSCREEN;

    std::string report;
    RequestFramebuffer(samples, report);

    if (width <= 0 || height <= 0 || SDL_SetVideoMode(width, height, bitsPerPixel, flags) == nullptr) {
        SDL_Quit();
        return false;
    }

    GLint sampleBuffers = 0;
    GLint samplesRead = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    glGetIntegerv(GL_SAMPLES, &samplesRead);

    report += LogFormat("Resolution Set: %ix%ix%i\n", width, height, bitsPerPixel);
    if (samples > 0)
        report += LogFormat("Anti-Aliasing: Buffers:%i Samples:%i\n", sampleBuffers, samplesRead);
    log.Write(report);

    SDL_ShowCursor(SDL_DISABLE);
    log.Write("Complete...\n\n");
    return true;
}
