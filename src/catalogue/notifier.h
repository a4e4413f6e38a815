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
    virtual void PlainMessage(const std::string& text) = 0;

    // Numbered message `number` of the catalogue in `language`; returns the modal result
    // of the button pressed.
    virtual ModalResult ShowMessage(Language language, int number, ButtonSet buttons) = 0;
};

// The answer when nobody is there to press a button: OK, or No and Cancel to a question.
ModalResult UnattendedAnswer(ButtonSet buttons);

// Shows nothing and answers as UnattendedAnswer: for programs that run without a user.
class SilentNotifier : public Notifier {
  public:
    void PlainMessage(const std::string&) override {}
    ModalResult ShowMessage(Language, int, ButtonSet buttons) override {
        return UnattendedAnswer(buttons);
    }
};

}  // namespace pc
