#include "platform/picture.h"

#include <gtest/gtest.h>

#include "platform/file_store.h"

TEST(DecodeJpeg, ReadsTheBannersAndRefusesBrokenFilesWithoutCrashing)
{
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(std::string(VORNIK_ASSETS) + "/ban/ban0001.jpg", bytes));
    RgbPicture picture;
    ASSERT_TRUE(DecodeJpeg(bytes, picture));
    EXPECT_EQ(picture.Width, 728);
    EXPECT_EQ(picture.Height, 60);
    EXPECT_EQ(picture.Pixels.size(), 728u * 60 * 3);

    RgbPicture untouched = picture;
    const std::string broken[] = {
        "",
        "not a jpeg at all",
        bytes.substr(0, 2),
        bytes.substr(0, bytes.size() / 3),
        std::string(bytes).replace(20, 200, 200, '\xff'),
    };
    for (const std::string& b : broken) {
        RgbPicture p = picture;
        if (!DecodeJpeg(b, p)) {
            EXPECT_EQ(p.Pixels, untouched.Pixels);
        }
    }
    EXPECT_FALSE(DecodeJpeg("not a jpeg at all", picture));
    EXPECT_FALSE(DecodeJpeg(bytes.substr(0, 2), picture));
}
