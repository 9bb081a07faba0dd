#include "platform/picture.h"

#include <cstdlib>

#include "platform/jpeg_decode.h"

bool DecodeJpeg(const std::string& bytes, RgbPicture& picture)
{
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    if (!vornik_jpeg_decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &pixels, &width,
                            &height))
        return false;
    picture.Width = width;
    picture.Height = height;
    picture.Pixels.assign(pixels, pixels + static_cast<std::size_t>(width) * height * 3);
    std::free(pixels);
    return true;
}
