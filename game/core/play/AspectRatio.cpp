#include "AspectRatio.h"

AspectRatio DetectAspectRatio(int width, int height, bool fullScreen)
{
    if (fullScreen)
        return {640, "Aspect Ratio: 4.3\n"};
    if (width / 3 == height / 2)
        return {720, "Aspect Ratio: 3.2\n"};
    if (width / 4 == height / 3)
        return {640, "Aspect Ratio: 4.3\n"};
    if (width / 5 == height / 4)
        return {640, "Aspect Ratio: 5.4\n"};
    if (width / 16 == height / 9)
        return {854, "Aspect Ratio: 16.9\n"};
    if (width / 16 == height / 10)
        return {854, "Aspect Ratio: 16.10\n"};
    return {640, "Aspect Ratio: unkown, assuming 4.3\n"};
}
