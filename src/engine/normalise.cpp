#include "normalise.h"

namespace pc {

std::string Normalise(std::string_view term) {
    std::string result;
    result.reserve(term.size() + 8);
    for (char ch : term) {
        const auto code = static_cast<unsigned char>(ch);
        if (code >= 1 && code <= 32) {
            continue;
        }
        if (ch >= 'a' && ch <= 'z') {
            result.push_back(static_cast<char>(ch - 'a' + 'A'));
        } else if (ch == ';' || ch == ',') {
            result += ")(";
        } else {
            result.push_back(ch);
        }
    }
    return result;
}

bool ParenthesesBalanced(std::string_view text) {
    long depth = 0;
    for (char ch : text) {
        if (ch == '(') {
            ++depth;
        } else if (ch == ')' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

bool SameName(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') {
            x = static_cast<char>(x - 'a' + 'A');
        }
        if (y >= 'a' && y <= 'z') {
            y = static_cast<char>(y - 'a' + 'A');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace pc
