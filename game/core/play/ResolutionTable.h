#pragma once

#include <array>
#include <cstddef>

// One row of the setup dialog's resolution list.
struct Resolution {
    const char* label;
    int width;
    int height;
};

constexpr std::size_t kResolutionCount = 20;
// The row the dialog starts with selected ("854x480").
constexpr int kDefaultResolutionIndex = 2;

// The dialog's rows in list order.
const std::array<Resolution, kResolutionCount>& ResolutionTable();

// The row at index; 640 x 480 for any index outside the list (no selection
// included).
Resolution ResolutionAt(int index);
