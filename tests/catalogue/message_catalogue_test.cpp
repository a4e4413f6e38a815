#include "catalogue/message_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

#include "catalogue/notifier.h"

namespace pc {
namespace {

struct TextCase {
    int number;
    MessageKind kind;     // what the dialog makes of the first digit
    const char* english;  // empty: no text in that language
    const char* german;
};

// A sample of each kind of entry, with the bytes that are easy to get wrong: blanks before
// line feeds, umlauts and ß, and misspellings the program has always shown.
const TextCase kSample[] = {
    // clang-format off
    // The longest text, 213 characters in 215 bytes, handed out whole: "inkorrekt",
    // "gültigr", and two blanks after "oder".
    {17, MessageKind::Error,
     "10000ERROR 17 \nCallparameter inkorrekt! \nNo valid Plotcraftsman - Funktionsfile (.FX-File) or \nno valid Plotcraftsman - Configurationfile (.PCF-File). \nSee Plotcraftsman.exe -h for help.",
     "10000ERROR 17 \nAufrufparameter ist nicht korrekt! \nKeine gültigr Plotcraftsman - Funktionsdatei (.FX-Datei) oder  \nkeine gültige Plotcraftsman - Konfigurationsdatei (.PCF-Datei). \nSiehe Aufruf Plotcraftsman.exe -h"},
    {14, MessageKind::Error,
     "10000ERROR 14 \nObsolete Plotcraftsman - Configurationfile. \nPCF - Datei includes invalid version. \nLoading default configuration.",
     "10000ERROR 14 \nAlte Plotcraftsman - Konfigurationsdatei. \nPCF - Datei enthält ungültige Version. \nLade Vorzugs-Konfiguration"},
    {30, MessageKind::Error,
     "10000ERROR 30 \nUserdefined y-Max Value must be greater then y-Min Value. \n-> correct vertical Limits.",
     "10000ERROR 30 \nBenutzerdefinierter y-Maximalwert muß größer als  \nbenutzerdefinierter y-Minimalwert sein. \n-> Vertikale Intervallgrenzen korrigieren."},
    // The German kind word differs, and is followed by eight blanks.
    {100, MessageKind::Question,
     "30000Question 100 \nSave the selection list?",
     "30000FRAGE 100        \nSoll die gegenwärtige Auswahlliste gespeichert werden?"},
    {202, MessageKind::Warning,
     "00000Warnng 202 \nThe screensize in the current loaded configurationfile is greater then \nthe actual screensize. Loading default configuration.",
     "00000Warnng 202 \nIn der aktiven Konfigurationsdatei ist die Bildschirmgröße größer als \ndie aktelle Bildschirmgröße. Es wird die Voreinstellung geladenen."},
    // The German help has no "-h" line.
    {302, MessageKind::Information,
     "20000INFO 302 \nPlotcraftsman Parameters \nPlotcraftsman.exe -h   this Help \nPlotcraftsman.exe [*.FX-file] [*.PCF-file]",
     "20000INFO 302 \nPlotcraftsman Parameter    \nPlotcraftsman.exe [*.FX-Datei] [*.PCF-Konfigurationsdatei]"},
    {303, MessageKind::Information,
     "20000INFO 303 \nDefault-Configurationfile CON0.PCF does not exist. \nPlease reinstall Plotcraftsman.",
     "20000INFO 303 \nKonfigurationsfile CON0.PCF existiert nicht am Aufrufort. \nEine Neuinstallation sollte dieses Problem beheben."},
    // Captions have no kind code.
    {508, MessageKind::None, "&Open", "Ö&ffnen"},
    {642, MessageKind::None, "Grid thickness ", "Strichstärke Gitter"},  // trailing blank
    {674, MessageKind::None, "Function Info", "Funktionsinfo"},
    {537, MessageKind::None, "", "Anfügen"},
    {670, MessageKind::None, "Legend", ""},
    // clang-format on
};

// Also: a message's dialog shows its kind's icon and the text without the five-character
// kind code, whatever the buttons.
TEST(CatalogueText, SampleTextsInBothLanguagesExactly) {
    for (const TextCase& c : kSample) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(CatalogueText(c.number, Language::English), c.english);
        EXPECT_EQ(CatalogueText(c.number, Language::German), c.german);
        EXPECT_EQ(CatalogueTextByKey(kEnglishBase + c.number), c.english);
        EXPECT_EQ(CatalogueTextByKey(kGermanBase + c.number), c.german);
        if (c.kind == MessageKind::None)
            continue;
        for (const auto& [language, text] :
             {std::pair{Language::English, c.english}, {Language::German, c.german}}) {
            const MessageDecision decision = DecideMessage(language, c.number, ButtonSet::YesNo);
            EXPECT_EQ(decision.kind, c.kind);
            EXPECT_EQ(decision.text, std::string(text).substr(5));
            EXPECT_EQ(decision.buttons, ButtonSet::YesNo);
        }
    }
}

// Every error message and every plotter setting caption exists in both languages; the
// languages cover the same numbers except two captions. A message starts with the same
// kind code in both languages and names its number in its first line; a caption keeps its
// keyboard accelerator "&" in both.
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
            if (n < 500 && !text.empty()) {
                EXPECT_LT(text.find(" " + std::to_string(n) + " "), text.find('\n')) << text;
                EXPECT_EQ(text.substr(0, 5), english.substr(0, 5)) << n;
            }
            if (n >= 700 && n <= 723) {
                EXPECT_NE(text, "") << n;
            }
        }
        EXPECT_EQ(std::count(english.begin(), english.end(), '&'),
                  std::count(german.begin(), german.end(), '&'))
            << n;
    }
    EXPECT_GT(withText, 100);  // 44 messages and the captions
}

TEST(CatalogueText, NumbersAndKeysOutsideTheCatalogueHaveNoText) {
    // 200 and 300 are reserved; the others lie just beside used numbers.
    for (const int n : {200, 300, 37, 99, 104, 199, 203, 304, 500, 724, -1, INT_MAX}) {
        EXPECT_EQ(CatalogueText(n, Language::English) + CatalogueText(n, Language::German), "")
            << n;
    }
    // 9 and 60009 are message 9 without a base and with one base too many.
    for (const int key : {0, 9, 39999, 60009, -40009, INT_MAX, INT_MIN}) {
        EXPECT_EQ(CatalogueTextByKey(key), "") << key;
    }
}

// The kinds and texts of ordinary messages are in the sample above; these are the odd ones.
TEST(DecideMessage, OddNumbersAndLanguagesAndTheUnattendedAnswers) {
    // Any code but 1 means English; only the low 16 bits name the message.
    const MessageDecision english =
        DecideMessage(static_cast<Language>(7), 0xFFFF0000u | 13, ButtonSet::Ok);
    EXPECT_EQ(english.kind, MessageKind::Error);
    EXPECT_EQ(english.text, "ERROR 13 \nOnly ONE parameter legal!");
    // A caption has no kind digit but loses five characters all the same; Ö is one
    // character though it takes two bytes.
    EXPECT_EQ(DecideMessage(Language::German, 508, ButtonSet::Ok).text, "en");
    // No text: no kind either, also for a caption only German has.
    for (const int number : {37, 537})
        EXPECT_EQ(DecideMessage(Language::English, number, ButtonSet::Ok).kind, MessageKind::None);
    // Nobody there: OK, or No and Cancel to a question.
    EXPECT_EQ(UnattendedAnswer(ButtonSet::Ok), ModalResult::mrOk);
    EXPECT_EQ(UnattendedAnswer(ButtonSet::YesNo), ModalResult::mrNo);
    EXPECT_EQ(UnattendedAnswer(ButtonSet::YesNoCancel), ModalResult::mrCancel);
}

}  // namespace
}  // namespace pc
