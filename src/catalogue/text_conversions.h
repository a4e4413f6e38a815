#pragma once
// The small text conversions every file of the program uses.

#include <stdexcept>
#include <string>
#include <string_view>

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

// "%08X" of a colour, as the dumps print it.
std::string ColorHex(std::uint32_t color);

}  // namespace pc
