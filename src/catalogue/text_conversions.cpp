#include "text_conversions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

#include "engine/number_text.h"

namespace pc {

const char* BoolToText(bool value) {
    return value ? "1" : "0";
}

bool TextToBool(std::string_view text) {
    if (text == "1")
        return true;
    if (text == "0")
        return false;
    throw EConversionError("Konvertierung strtobool war Mist");
}

Extended TextToFloat(std::string_view text) {
    std::string buffer(text);
    if (const auto comma = buffer.find(','); comma != std::string::npos)
        buffer[comma] = '.';
    // Blanks around a number are what a hand-edited file or a typed field most often
    // carries; they do not make the number unreadable.
    const auto first = buffer.find_first_not_of(" \t");
    const auto last = buffer.find_last_not_of(" \t");
    if (first == std::string::npos)
        return std::numeric_limits<Extended>::quiet_NaN();
    const std::string_view number = std::string_view(buffer).substr(first, last - first + 1);
    // What FormatGeneral writes for values beyond every number must read back as such.
    if (number == "INF")
        return std::numeric_limits<Extended>::infinity();
    if (number == "-INF")
        return -std::numeric_limits<Extended>::infinity();
    Extended value = 0;
    if (!ParseNumber(number, value))
        return std::numeric_limits<Extended>::quiet_NaN();
    return value;
}

bool FieldToFloat(std::string_view text, Extended& value) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    return first != std::string_view::npos &&
           ParseNumber(text.substr(first, last - first + 1), value);
}

bool TextToInt(std::string_view text, std::int32_t& value) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    text = text.substr(first, last - first + 1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    std::int32_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

std::int32_t IntegerLine(std::string_view text) {
    std::int32_t value = 0;
    if (!TextToInt(text, value))
        throw EConversionError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string LineReader::IndexOutOfBounds(std::size_t index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}

LineReader::LineReader(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                       MissingLineText missing)
    : m_lines(lines), m_next(begin), m_end(std::min(end, lines.size())), m_missing(missing) {}

const std::string& LineReader::Text() {
    m_last = m_next + 1;
    if (m_next >= m_end)
        throw EConversionError(m_missing(m_next));
    return m_lines[m_next++];
}

std::string ColorHex(std::uint32_t color) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(color));
    return buffer;
}

}  // namespace pc
