#include "number_text.h"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace pc {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

locale_t CLocale() {
    // The C locale object is immutable once made, so one shared copy is safe.
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

std::string FormatGeneral(Extended value, int digits) {
    const int significantDigits = std::clamp(digits, 1, kMaxGeneralDigits);
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    if (value == 0) {
        return "0";
    }

    // Correctly rounded scientific form, "d.dddddddddddddde+X", independent of the locale.
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                            std::chars_format::scientific, significantDigits - 1);
    std::string mantissa;
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            mantissa.push_back(*p);
        }
    }
    int exponent = 0;
    if (p != end) {
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
    }
    while (mantissa.size() > 1 && mantissa.back() == '0') {
        mantissa.pop_back();
    }

    std::string text = value < 0 ? "-" : "";
    if (exponent >= significantDigits || exponent < -5) {
        text += mantissa[0];
        if (mantissa.size() > 1) {
            text += '.';
            text.append(mantissa, 1);
        }
        text += 'E';
        text += std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= integerDigits) {
            text += mantissa;
            text.append(integerDigits - mantissa.size(), '0');
        } else {
            text.append(mantissa, 0, integerDigits);
            text += '.';
            text.append(mantissa, integerDigits);
        }
    } else {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += mantissa;
    }
    return text;
}

namespace {

std::string PadLeft(std::string text, int width) {
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string NonFinite(Extended value) {
    return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
}

}  // namespace

std::string FormatFixed(Extended value, int decimals, int width) {
    if (!std::isfinite(value))
        return PadLeft(NonFinite(value), width);
    // Up to 4933 integer digits, the decimals and the sign.
    char buffer[5100];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                            std::chars_format::fixed, std::clamp(decimals, 0, 60));
    if (error != std::errc())
        return PadLeft(FormatGeneral(value), width);
    std::string text(buffer, end);
    if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);  // no "-0.00000" for a tiny negative value
    return PadLeft(std::move(text), width);
}

std::string FormatExponent(Extended value, int decimals, int width) {
    if (!std::isfinite(value))
        return PadLeft(NonFinite(value), width);
    char buffer[128];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                      std::clamp(decimals, 0, 60));
    std::string text(buffer, error == std::errc() ? end : buffer);
    const std::size_t e = text.find('e');
    if (e == std::string::npos)
        return PadLeft(FormatGeneral(value), width);
    int exponent = 0;
    const char* p = text.data() + e + 1;
    std::from_chars(p + (*p == '+' ? 1 : 0), text.data() + text.size(), exponent);
    text.resize(e);
    text += 'E';
    text += std::to_string(exponent);
    return PadLeft(std::move(text), width);
}

bool ParseNumber(std::string_view text, Extended& value) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    if (i != text.size()) {
        return false;
    }
    const std::string copy(text);  // strtold needs a terminated string
    value = strtold_l(copy.c_str(), nullptr, CLocale());
    return true;
}

}  // namespace pc
