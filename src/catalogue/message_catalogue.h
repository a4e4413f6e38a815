#pragma once
// The numbered text catalogue: every message and translatable caption of the program,
// in German and English, and the message dialog's decision (icon kind, text, buttons)
// without the dialog itself.

#include <cstdint>
#include <string>

namespace pc {

// The languages of the catalogue; every run starts in English.
enum class Language : std::uint8_t { English = 0, German = 1 };

// Keys of the catalogue: 40000 + n holds the German text of entry n, 50000 + n the English.
inline constexpr int kGermanBase = 40000;
inline constexpr int kEnglishBase = 50000;

// Longest text the catalogue hands out, in characters; longer texts are cut.
inline constexpr std::size_t kMaxCatalogueTextLength = 255;

// The text stored under `key` (UTF-8), cut to 255 characters; empty when there is none.
std::string CatalogueTextByKey(int key);

// The text of entry `number` in `language` (40000 + n for German, else 50000 + n);
// empty when that language has no text for it (670 in German, 537 in English).
std::string CatalogueText(int number, Language language);

// The kind a message's first digit selects, which picks the dialog's icon.
enum class MessageKind : std::uint8_t {
    Warning = 0,
    Error = 1,
    Information = 2,
    Question = 3,
    None = 255
};

// The dialog's button panels.
enum class ButtonSet : std::uint8_t { Ok = 0, YesNo = 1, YesNoCancel = 2 };

// The dialog's results, as its callers compare them.
enum class ModalResult : int { mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct MessageDecision {
    MessageKind kind = MessageKind::None;
    std::string text;  // the catalogue text without its five-character kind code
    ButtonSet buttons = ButtonSet::Ok;
};

// What the message dialog shows for `number` (only its low 16 bits count) in
// `language` with `buttons`. A number without a text gives kind None and an empty text.
MessageDecision DecideMessage(Language language, std::uint32_t number, ButtonSet buttons);

}  // namespace pc
