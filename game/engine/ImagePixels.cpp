#include "ImagePixels.h"

#include <IL/il.h>

#include <utility>

namespace {

bool HasAlpha(ILint format)
{
    return format == IL_RGBA || format == IL_BGRA || format == IL_LUMINANCE_ALPHA || format == IL_ALPHA;
}

bool Accepted(ILint format, ILint type, ChannelOrder accepted)
{
    if (type != IL_UNSIGNED_BYTE)
        return false;
    if (format == IL_RGB || format == IL_RGBA)
        return true;
    return accepted == ChannelOrder::RedOrBlueFirst && (format == IL_BGR || format == IL_BGRA);
}

bool CopyAs(ImagePixels& out, ILint wantedFormat)
{
    ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    if (wantedFormat != 0) {
        if (format == IL_COLOUR_INDEX) {
            // Palette images carry alpha, if any, in their palette.
            const ILint palette = ilGetInteger(IL_PALETTE_TYPE);
            if (palette == IL_PAL_RGBA32 || palette == IL_PAL_BGRA32)
                wantedFormat = (wantedFormat == IL_BGR || wantedFormat == IL_BGRA) ? IL_BGRA : IL_RGBA;
        }
        if (ilConvertImage(static_cast<ILenum>(wantedFormat), IL_UNSIGNED_BYTE) != IL_TRUE)
            return false;
        format = ilGetInteger(IL_IMAGE_FORMAT);
    }

    const ILint width = ilGetInteger(IL_IMAGE_WIDTH);
    const ILint height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILint bytesPerPixel = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    const ILubyte* data = ilGetData();
    if (width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4) || data == nullptr ||
        ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE)
        return false;
    const std::size_t size =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * static_cast<std::size_t>(bytesPerPixel);
    const ILint held = ilGetInteger(IL_IMAGE_SIZE_OF_DATA);
    if (held < 0 || static_cast<std::size_t>(held) < size)
        return false;

    out.width = width;
    out.height = height;
    out.bytesPerPixel = bytesPerPixel;
    out.bytes.assign(data, data + size);
    return true;
}

} // namespace

bool CopyBoundImage(ImagePixels& out, ChannelOrder accepted, bool blueFirstTarget)
{
    const ILint format = ilGetInteger(IL_IMAGE_FORMAT);
    const ILint type = ilGetInteger(IL_IMAGE_TYPE);
    if (Accepted(format, type, accepted))
        return CopyAs(out, 0);
    const bool alpha = HasAlpha(format);
    const ILint wanted = blueFirstTarget ? (alpha ? IL_BGRA : IL_BGR) : (alpha ? IL_RGBA : IL_RGB);
    return CopyAs(out, wanted);
}

bool CopyBoundImageRgba(ImagePixels& out)
{
    const bool ready = ilGetInteger(IL_IMAGE_FORMAT) == IL_RGBA && ilGetInteger(IL_IMAGE_TYPE) == IL_UNSIGNED_BYTE;
    return CopyAs(out, ready ? 0 : IL_RGBA);
}

bool PathSwapsRedBlue(const std::string& path)
{
    return path.find(".tga") != std::string::npos;
}

void SwapRedBlue(ImagePixels& image)
{
    if (image.bytesPerPixel != 3 && image.bytesPerPixel != 4)
        return;
    const std::size_t step = static_cast<std::size_t>(image.bytesPerPixel);
    for (std::size_t i = 0; i + 2 < image.bytes.size(); i += step)
        std::swap(image.bytes[i], image.bytes[i + 2]);
}
