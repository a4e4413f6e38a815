#pragma once
// How the model shows something to the user without knowing about windows: the
// application answers with its message dialog, tests and the CLI record or print.

#include <cstdint>
#include <string>

#include "message_catalogue.h"

namespace pc {

class Notifier {
  public:
    virtual ~Notifier() = default;

    // A developer text in a plain message box, e.g. "Error in FindFunctionByName".
    virtual void plainMessage(const std::string& text) = 0;

    // Numbered message `number` of the catalogue in `language`; returns the modal result
    // of the button pressed (mrOk, mrCancel, mrYes or mrNo).
    virtual int showMessage(std::uint8_t language, int number, ButtonSet buttons) = 0;
};

}  // namespace pc
