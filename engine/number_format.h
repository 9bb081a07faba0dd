#pragma once
// Numbers as the program writes and reads them. The program formats numbers itself, so
// every build writes the same text (the C runtime's printf differs between them).
#include <string>
#include <string_view>

// A finite magnitude rounded to 15 significant digits: digits "d1d2...d15" and the decimal
// exponent of the first, so that the value is d1.d2d3... x 10^exponent.
void SignificantDigits(double magnitude, std::string& digits, int& exponent);

// The general form with at most 15 significant digits: fixed notation from 0.0001 up to
// below 10^15 (trailing zeros dropped, no separator for whole numbers), scientific
// otherwise (1E-5, 1,5E20). Used for prices in the tariff file and the report.
std::string FormatGeneral(double value, char decimalSeparator);

// Reads a number: blanks around it, an optional sign, digits with ".", "," or the regional
// decimal separator (so a file or an answer typed under another setting still reads), an
// optional exponent. False when the text is no such number.
bool ParseNumber(std::string_view text, double& value, char regionalSeparator);
