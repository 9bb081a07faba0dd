#include "engine/formats.h"

#include <cmath>

#include "engine/number_format.h"

const std::string Blanks92(92, ' ');

std::string FormatFixed(double value, int decimals, char decimalSeparator)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");

    // The value's 15 significant digits, then rounding in decimal, so 1.25 gives 1.3 and
    // 0.15 gives 0.2 as the user reads them, whatever their binary form.
    std::string digits;
    int exponent = 0;
    SignificantDigits(std::fabs(value), digits, exponent);

    // `scaled` is the value times 10^decimals as a whole number in decimal digits.
    int keep = exponent + 1 + decimals;
    std::string scaled;
    bool roundUp = false;
    if (keep >= 0) {
        if (digits.size() < static_cast<std::size_t>(keep) + 1)
            digits.append(static_cast<std::size_t>(keep) + 1 - digits.size(), '0');
        scaled = digits.substr(0, static_cast<std::size_t>(keep));
        roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
    }
    if (roundUp) {
        int i = static_cast<int>(scaled.size()) - 1;
        for (; i >= 0 && scaled[static_cast<std::size_t>(i)] == '9'; --i)
            scaled[static_cast<std::size_t>(i)] = '0';
        if (i >= 0)
            ++scaled[static_cast<std::size_t>(i)];
        else
            scaled.insert(scaled.begin(), '1');
    }
    if (scaled.size() < static_cast<std::size_t>(decimals) + 1)
        scaled.insert(0, static_cast<std::size_t>(decimals) + 1 - scaled.size(), '0');

    bool zero = scaled.find_first_not_of('0') == std::string::npos;
    std::string out = value < 0 && !zero ? "-" : "";
    out.append(scaled, 0, scaled.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        out += decimalSeparator;
        out.append(scaled, scaled.size() - static_cast<std::size_t>(decimals), std::string::npos);
    }
    return out;
}

std::string TrafficTextKb(double kilobytesA, double kilobytesB, char decimalSeparator)
{
    double k = kilobytesA + kilobytesB;
    if (k <= 1024)
        return FormatFixed(k, 1, decimalSeparator) + " Kb";
    double megabytes = std::trunc(k / 1024);
    double rest = std::trunc(k - megabytes * 1024);
    return FormatFixed(megabytes, 0, decimalSeparator) + " Mb " + FormatFixed(rest, 0, decimalSeparator) + " Kb";
}

std::string TrafficText(uint64_t octetsA, uint64_t octetsB, char decimalSeparator)
{
    return TrafficTextKb(static_cast<double>(octetsA) / 1024, static_cast<double>(octetsB) / 1024, decimalSeparator);
}

std::string CostText(double priceTimesOctetsA, double priceTimesOctetsB, char decimalSeparator)
{
    return FormatFixed(priceTimesOctetsA / 1048576 + priceTimesOctetsB / 1048576, 2, decimalSeparator) + " руб.";
}

std::string DisplayName(const TariffArray& tariffs, const std::string& name, bool padded)
{
    int i = tariffs.Find(name);
    if (!i)
        return name;
    return padded ? tariffs[i].Alias + Blanks92 : tariffs[i].Alias;
}
