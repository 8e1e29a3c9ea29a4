#include "RecordBounds.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(RecordBoundsTest, CountsAreBoundedByTheBytesLeft)
{
    const struct {
        std::int64_t count, bytesLeft, recordBytes;
        bool fits;
    } rows[] = {
        {0, 0, 56, true},        {1, 0, 56, false},        // nothing left starts no record
        {1, 1, 56, true},        {1, 56, 56, true},         // a partial record, a whole one
        {2, 56, 56, false},      {2, 57, 56, true},
        {-1, 1000, 56, false},   {INT_MIN, 1000, 56, false},
        {INT_MAX, 1000, 56, false}, {INT_MAX, INT64_MAX / 2, 1, true},
        {0, -5, 12, true},       {1, -5, 12, false},        // offset past the end
        {1, 100, 0, false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RecordCountFits(row.count, row.bytesLeft, row.recordBytes), row.fits)
            << row.count << " records of " << row.recordBytes << " in " << row.bytesLeft;
    }
}

} // namespace
