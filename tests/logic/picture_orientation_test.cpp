// picture_orientation_test.cpp -- the eight EXIF orientations turn a stored picture upright.
#include <gtest/gtest.h>
#include <vector>

#include "pictures/picture_orientation.h"

namespace {

// A 3 x 2 stored picture whose pixels are numbered 1-6 row by row, in the red channel.
std::vector<unsigned char> numbered() {
    std::vector<unsigned char> rgba;
    for (unsigned char n = 1; n <= 6; ++n)
        rgba.insert(rgba.end(), {n, 0, 0, 255});
    return rgba;
}

// The red channel of every pixel, row by row.
std::vector<int> numbersOf(const std::vector<unsigned char> &rgba) {
    std::vector<int> numbers;
    for (size_t i = 0; i < rgba.size(); i += 4)
        numbers.push_back(rgba[i]);
    return numbers;
}

} // namespace

TEST(PictureOrientation, EachOrientationShowsThePictureAsItWasTaken) {
    // Stored:  1 2 3
    //          4 5 6
    struct Case {
        int orientation;
        uint32_t width, height;
        std::vector<int> upright;
    } cases[] = {
        {1, 3, 2, {1, 2, 3, 4, 5, 6}}, {2, 3, 2, {3, 2, 1, 6, 5, 4}}, {3, 3, 2, {6, 5, 4, 3, 2, 1}},
        {4, 3, 2, {4, 5, 6, 1, 2, 3}}, {5, 2, 3, {1, 4, 2, 5, 3, 6}}, {6, 2, 3, {4, 1, 5, 2, 6, 3}},
        {7, 2, 3, {6, 3, 5, 2, 4, 1}}, {8, 2, 3, {3, 6, 2, 5, 1, 4}}, {0, 3, 2, {1, 2, 3, 4, 5, 6}},
        {9, 3, 2, {1, 2, 3, 4, 5, 6}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.orientation);
        std::vector<unsigned char> rgba = numbered();
        uint32_t width = 3, height = 2;
        turnUpright(&rgba, &width, &height, c.orientation);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(numbersOf(rgba), c.upright);
    }
}
