#include "catalogue/message_catalogue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace pc {
namespace {

struct TextCase {
    int number;
    const char* english;  // empty: no text in that language
    const char* german;
};

// Texts whose bytes are easy to get wrong: blanks before line feeds, umlauts and ß, and
// misspellings the program has always shown.
const TextCase kTextCases[] = {
    // The longest text, 213 characters in 215 bytes, handed out whole: "inkorrekt",
    // "gültigr", and two blanks after "oder".
    {17,
     "10000ERROR 17 \n"
     "Callparameter inkorrekt! \n"
     "No valid Plotcraftsman - Funktionsfile (.FX-File) or \n"
     "no valid Plotcraftsman - Configurationfile (.PCF-File). \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 17 \n"
     "Aufrufparameter ist nicht korrekt! \n"
     "Keine gültigr Plotcraftsman - Funktionsdatei (.FX-Datei) oder  \n"
     "keine gültige Plotcraftsman - Konfigurationsdatei (.PCF-Datei). \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    // The German kind word differs, and is followed by eight blanks.
    {100,
     "30000Question 100 \n"
     "Save the selection list?",
     "30000FRAGE 100        \n"
     "Soll die gegenwärtige Auswahlliste gespeichert werden?"},
    // The German help has no "-h" line.
    {302,
     "20000INFO 302 \n"
     "Plotcraftsman Parameters \n"
     "Plotcraftsman.exe -h   this Help \n"
     "Plotcraftsman.exe [*.FX-file] [*.PCF-file]",
     "20000INFO 302 \n"
     "Plotcraftsman Parameter    \n"
     "Plotcraftsman.exe [*.FX-Datei] [*.PCF-Konfigurationsdatei]"},
    {508, "&Open", "Ö&ffnen"},
    {642, "Grid thickness ", "Strichstärke Gitter"},  // trailing blank
    {537, "", "Anfügen"},
    {670, "Legend", ""},
};

TEST(CatalogueText, TextsInBothLanguagesExactly) {
    for (const TextCase& c : kTextCases) {
        EXPECT_EQ(CatalogueText(c.number, Language::English), c.english) << c.number;
        EXPECT_EQ(CatalogueText(c.number, Language::German), c.german) << c.number;
        EXPECT_EQ(CatalogueTextByKey(kEnglishBase + c.number), c.english) << c.number;
        EXPECT_EQ(CatalogueTextByKey(kGermanBase + c.number), c.german) << c.number;
    }
}

// Every error message and every plotter setting caption exists in both languages; the
// languages cover the same numbers except two captions.
TEST(CatalogueText, EveryNumberHasATextInBothLanguagesOrInNeither) {
    int withText = 0;
    for (int n = 0; n < kEnglishBase - kGermanBase; ++n) {
        const std::string english = CatalogueText(n, Language::English);
        const std::string german = CatalogueText(n, Language::German);
        EXPECT_EQ(english.empty() != german.empty(), n == 537 || n == 670) << n;
        withText += english.empty() && german.empty() ? 0 : 1;
        const std::string prefix = "10000ERROR " + std::to_string(n) + " ";
        for (const std::string& text : {english, german}) {
            if (n <= 36) {
                EXPECT_TRUE(text.starts_with(prefix) && text.size() > prefix.size()) << text;
            }
            if (n >= 700 && n <= 723) {
                EXPECT_NE(text, "") << n;
            }
        }
    }
    EXPECT_GT(withText, 100);  // 44 messages and the captions
}

TEST(CatalogueText, NumbersAndKeysOutsideTheCatalogueHaveNoText) {
    // 200, 201, 300 and 301 are reserved; the others lie just beside used numbers.
    for (const int n : {200, 201, 300, 301, 37, 99, 104, 199, 203, 304, 500, 724, -1, INT_MAX}) {
        EXPECT_EQ(CatalogueText(n, Language::English), "") << n;
        EXPECT_EQ(CatalogueText(n, Language::German), "") << n;
    }
    // 9 and 60009 are message 9 without a base and with one base too many.
    for (const int key : {0, 9, 39999, 60009, -40009, INT_MAX, INT_MIN}) {
        EXPECT_EQ(CatalogueTextByKey(key), "") << key;
    }
}

TEST(DecideMessage, KindTextAndButtons) {
    const struct {
        Language language;
        std::uint32_t number;
        ButtonSet buttons;
        MessageKind kind;
        const char* text;
    } cases[] = {
        {Language::German, 100, ButtonSet::YesNoCancel, MessageKind::Question,
         "FRAGE 100        \n"
         "Soll die gegenwärtige Auswahlliste gespeichert werden?"},
        {Language::English, 202, ButtonSet::Ok, MessageKind::Warning,
         "Warnng 202 \n"
         "The screensize in the current loaded configurationfile is greater then \n"
         "the actual screensize. Loading default configuration."},
        {Language::German, 303, ButtonSet::Ok, MessageKind::Information,
         "INFO 303 \n"
         "Konfigurationsfile CON0.PCF existiert nicht am Aufrufort. \n"
         "Eine Neuinstallation sollte dieses Problem beheben."},
        // Any code but 1 means English.
        {static_cast<Language>(7), 13, ButtonSet::Ok, MessageKind::Error,
         "ERROR 13 \n"
         "Only ONE parameter legal!"},
        // Only the low 16 bits name the message.
        {Language::English, 0xFFFF0000u | 102, ButtonSet::YesNo, MessageKind::Question,
         "Question 102 \n"
         "Delete Funktion?"},
        // A caption has no kind digit but loses five characters all the same; Ö is one
        // character though it takes two bytes.
        {Language::German, 508, ButtonSet::Ok, MessageKind::None, "en"},
        // No text: no kind either.
        {Language::English, 37, ButtonSet::YesNo, MessageKind::None, ""},
        {Language::German, 65536 + 200, ButtonSet::Ok, MessageKind::None, ""},
        {Language::English, 537, ButtonSet::YesNoCancel, MessageKind::None, ""},  // German only
    };
    for (const auto& c : cases) {
        const MessageDecision decision = DecideMessage(c.language, c.number, c.buttons);
        EXPECT_EQ(decision.kind, c.kind) << c.number;
        EXPECT_EQ(decision.text, c.text) << c.number;
        EXPECT_EQ(decision.buttons, c.buttons) << c.number;
    }
}

}  // namespace
}  // namespace pc
