#include "ResolutionTable.h"

const std::array<Resolution, kResolutionCount>& ResolutionTable()
{
    static const std::array<Resolution, kResolutionCount> table = {{
        {"640x480", 640, 480},     {"720x480", 720, 480},     {"854x480", 854, 480},
        {"768x576", 768, 576},     {"800x600", 800, 600},     {"1280x720", 1280, 720},
        {"1024x768", 1024, 768},   {"1152x768", 1152, 768},   {"1280x854", 1280, 854},
        {"1280x960", 1280, 960},   {"1440x960", 1440, 960},   {"1280x1024", 1280, 1024},
        {"1400x1050", 1400, 1050}, {"1680x1050", 1680, 1050}, {"1920x1080", 1920, 1080},
        {"1600x1200", 1600, 1200}, {"1920x1200", 1920, 1200}, {"2048x1536", 2048, 1536},
        {"2560x1600", 2560, 1600}, {"2560x2048", 2560, 2048},
    }};
    return table;
}

Resolution ResolutionAt(int index)
{
    if (index < 0 || index >= static_cast<int>(kResolutionCount))
        return Resolution{"", 640, 480};
    return ResolutionTable()[static_cast<std::size_t>(index)];
}
