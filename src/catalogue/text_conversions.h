#pragma once
// The small text conversions every file of the program uses.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/extended.h"

namespace pc {

// A file field that cannot be converted; what() is the text the user sees.
class EConversionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "1" or "0".
const char* BoolToText(bool value);

// "1" is true, "0" false; anything else throws EConversionError
// "Konvertierung strtobool war Mist".
bool TextToBool(std::string_view text);

// Reads a float with "." as separator after turning the first "," into "."; "INF" and
// "-INF" read as infinities. Text that cannot be read gives a quiet NaN, never an error.
Extended TextToFloat(std::string_view text);

// Reads a number typed into a field: blanks around it allowed, "." as separator, no
// comma; false for anything else.
bool FieldToFloat(std::string_view text, Extended& value);

// Reads a whole decimal integer (optional sign, digits; surrounding blanks allowed);
// false for anything else, including values outside 32 bits.
bool TextToInt(std::string_view text, std::int32_t& value);

// TextToInt for a file line that must hold an integer: anything else throws
// EConversionError "'TEXT' is not a valid integer value".
std::int32_t IntegerLine(std::string_view text);

// Reads the lines of a file, or of one section of it, in order, converting each as the
// format puts it there. Running past the end, or a line that does not convert, throws
// EConversionError: the reader stops there with everything before it already taken.
class LineReader {
  public:
    // The text of the error for the missing line at 0-based `index`.
    using MissingLineText = std::string (*)(std::size_t index);
    // "List index out of bounds (N)", as a configuration file reports it.
    static std::string IndexOutOfBounds(std::size_t index);

    LineReader(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
               MissingLineText missing = IndexOutOfBounds);

    // The 0-based index of the next line.
    std::size_t Position() const { return m_next; }
    // Moves on to 0-based index `index` (over lines the format leaves unused).
    void SkipTo(std::size_t index) { m_next = index; }
    // The 1-based number of the line taken last, or of the missing line asked for.
    std::size_t LastLine() const { return m_last; }

    const std::string& Text();
    bool Bool() { return TextToBool(Text()); }
    std::int32_t Int() { return IntegerLine(Text()); }
    Extended Float() { return TextToFloat(Text()); }

  private:
    const std::vector<std::string>& m_lines;
    std::size_t m_next;
    std::size_t m_end;
    std::size_t m_last = 0;
    MissingLineText m_missing;
};

// "%08X" of a colour, as the dumps print it.
std::string ColorHex(std::uint32_t color);

}  // namespace pc
