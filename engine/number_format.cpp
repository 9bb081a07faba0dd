#include "engine/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

void SignificantDigits(double magnitude, std::string& digits, int& exponent)
{
    char buf[64];  // d.dddddddddddddde±x
    auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    std::size_t e = text.find('e');
    digits.assign(1, text[0]);
    digits.append(text.substr(2, e - 2));
    exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
}

std::string FormatGeneral(double value, char decimalSeparator)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    std::string digits;
    int exponent = 0;
    SignificantDigits(std::fabs(value), digits, exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= -4 && exponent < 15) {
        if (exponent >= 0) {
            std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= intDigits) {
                out += digits;
                out.append(intDigits - digits.size(), '0');
            } else {
                out.append(digits, 0, intDigits);
                out += decimalSeparator;
                out.append(digits, intDigits, std::string::npos);
            }
        } else {
            out += '0';
            out += decimalSeparator;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += decimalSeparator;
            out.append(digits, 1, std::string::npos);
        }
        out += 'E';
        if (exponent < 0)
            out += '-';
        out += std::to_string(std::abs(exponent));
    }
    return out;
}

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool ParseNumber(std::string_view text, double& value, char regionalSeparator)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    // Check the whole form first, then let from_chars compute the value.
    std::string normal;
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        normal += text[i++];
        ++mantissaDigits;
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',' || text[i] == regionalSeparator)) {
        normal += '.';
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            normal += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            normal += text[i++];
        std::size_t expDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            normal += text[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;

    double parsed = 0;
    auto res = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
    if (res.ec != std::errc() || res.ptr != normal.data() + normal.size())
        return false;
    value = negative ? -parsed : parsed;
    return true;
}
