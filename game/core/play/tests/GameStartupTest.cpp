#include "AspectRatio.h"
#include "ResolutionTable.h"
#include "StartupSettings.h"

#include <gtest/gtest.h>

#include <string>

TEST(ResolutionTable, TwentyRowsWithLabelsMatchingTheirSizes)
{
    const auto& rows = ResolutionTable();
    ASSERT_EQ(rows.size(), 20u);
    for (const Resolution& row : rows)
        EXPECT_EQ(std::string(row.label), std::to_string(row.width) + "x" + std::to_string(row.height));
    EXPECT_STREQ(rows[kDefaultResolutionIndex].label, "854x480");
    EXPECT_STREQ(rows.front().label, "640x480");
    EXPECT_STREQ(rows.back().label, "2560x2048");
}

TEST(ResolutionTable, AnIndexOutsideTheListGives640By480)
{
    for (int index : {-1, 20, 1000}) {
        const Resolution r = ResolutionAt(index);
        EXPECT_EQ(r.width, 640) << index;
        EXPECT_EQ(r.height, 480) << index;
    }
    EXPECT_EQ(ResolutionAt(19).width, 2560);
    EXPECT_EQ(ResolutionAt(19).height, 2048);
}

TEST(AspectRatio, EveryDialogRowWindowedAndInFullScreen)
{
    struct Expected {
        int viewWidth;
        const char* log;
    };
    const Expected k43{640, "Aspect Ratio: 4.3\n"};
    const Expected k32{720, "Aspect Ratio: 3.2\n"};
    const Expected k54{640, "Aspect Ratio: 5.4\n"};
    const Expected k169{854, "Aspect Ratio: 16.9\n"};
    const Expected k1610{854, "Aspect Ratio: 16.10\n"};
    const Expected none{640, "Aspect Ratio: unkown, assuming 4.3\n"};
    const Expected expected[kResolutionCount] = {
        k43,  k32, k169, k43, k43,   // 640x480 720x480 854x480 768x576 800x600
        k169, k43, k32,  none, k43,  // 1280x720 1024x768 1152x768 1280x854 1280x960
        k32,  k54, k43,  k1610, k169, // 1440x960 1280x1024 1400x1050 1680x1050 1920x1080
        k43,  k1610, k43, k1610, k54, // 1600x1200 1920x1200 2048x1536 2560x1600 2560x2048
    };
    for (std::size_t i = 0; i < kResolutionCount; ++i) {
        const Resolution& row = ResolutionTable()[i];
        const AspectRatio windowed = DetectAspectRatio(row.width, row.height, false);
        EXPECT_EQ(windowed.viewWidth, expected[i].viewWidth) << row.label;
        EXPECT_STREQ(windowed.logLine, expected[i].log) << row.label;
        const AspectRatio full = DetectAspectRatio(row.width, row.height, true);
        EXPECT_EQ(full.viewWidth, 640) << row.label;
        EXPECT_STREQ(full.logLine, "Aspect Ratio: 4.3\n") << row.label;
    }
}

TEST(AspectRatio, DegenerateSizesFallToTheFirstMatchingTest)
{
    // 0 x 0 passes the first test (0 == 0); it gives a width, never a crash.
    EXPECT_EQ(DetectAspectRatio(0, 0, false).viewWidth, 720);
    EXPECT_EQ(DetectAspectRatio(-640, -480, false).viewWidth, 640);
}

TEST(StartupSettings, DefaultsAndTheSampleRequest)
{
    StartupSettings s;
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
    EXPECT_FALSE(s.fullScreen);
    EXPECT_EQ(s.Samples(), 0);
    s.antiAliasing = true;
    EXPECT_EQ(s.Samples(), 2);
}
