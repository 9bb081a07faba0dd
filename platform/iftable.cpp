#include "platform/iftable.h"

#include <algorithm>
#include <cstring>

std::string IfDescription(const unsigned char* field, std::size_t fieldSize, uint32_t length)
{
    const void* zero = std::memchr(field, 0, fieldSize);
    std::size_t n = zero ? static_cast<const unsigned char*>(zero) - field : fieldSize;
    n = std::min<std::size_t>(n, length);
    return std::string(reinterpret_cast<const char*>(field), n);
}
