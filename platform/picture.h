#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RgbPicture {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;  // RGB, rows top-down
};

// False for anything that is no readable JPEG; the picture is then left as it was.
bool DecodeJpeg(const std::string& bytes, RgbPicture& picture);
