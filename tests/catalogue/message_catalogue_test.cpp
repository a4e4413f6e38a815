#include "catalogue/message_catalogue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

namespace pc {
namespace {

// Characters (UTF-8 code points) of `text`.
std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

struct TextCase {
    int number;
    const char* english;
    const char* german;
};

// Texts whose bytes are easy to get wrong: blanks before line feeds, umlauts and ß, and
// misspellings the program has always shown.
const TextCase kMessageCases[] = {
    {1,
     "10000ERROR 1 \n"
     "Variable - Max Value must be greater than Variable - Min Value. \n"
     "-> correct  Limits.",
     "10000ERROR 1 \n"
     "Variable - Maximalwert muß größer als \n"
     "Variable - Minimalwert sein. \n"
     "-> Intervallgrenzen für Variable korrigieren!"},
    // Ten blanks between the number and the line feed.
    {5,
     "10000ERROR 5           \n"
     "Logarithmic View impossible (negative Intervallimit). \n"
     "Correct userdefined horizontal Intervallimits.",
     "10000ERROR 5           \n"
     "Logarithmische Darstellung nicht möglich (negative Intervallgrenze). \n"
     "Benutzerdefinierte horizontale Intervallgrenzen korrigieren."},
    // "inkorrekt", "gültigr", and two blanks after "oder".
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
    {31,
     "10000ERROR 31 \n"
     "No Reference-curve selected.                \n"
     "Please select a reference-curve!",
     "10000ERROR 31 \n"
     "Keine Referenzkurve ausgewählt.                \n"
     "Bitte eine Referenzkurve auswählen!"},
    {36,
     "10000ERROR 36 \n"
     "The file is NOT a Plotcraftsman file.",
     "10000ERROR 36 \n"
     "Dieses File ist kein Plotcraftsman file."},
    // The German kind word differs, and is followed by eight blanks.
    {100,
     "30000Question 100 \n"
     "Save the selection list?",
     "30000FRAGE 100        \n"
     "Soll die gegenwärtige Auswahlliste gespeichert werden?"},
    {101,
     "30000Question 101 \n"
     "Functionname already exists! \n"
     "Overwrite?",
     "30000FRAGE 101 \n"
     "Funktionsname existiert bereits! \n"
     "überschreiben?"},
    {202,
     "00000Warnng 202 \n"
     "The screensize in the current loaded configurationfile is greater then \n"
     "the actual screensize. Loading default configuration.",
     "00000Warnng 202 \n"
     "In der aktiven Konfigurationsdatei ist die Bildschirmgröße größer als \n"
     "die aktelle Bildschirmgröße. Es wird die Voreinstellung geladenen."},
    // The German help has no "-h" line.
    {302,
     "20000INFO 302 \n"
     "Plotcraftsman Parameters \n"
     "Plotcraftsman.exe -h   this Help \n"
     "Plotcraftsman.exe [*.FX-file] [*.PCF-file]",
     "20000INFO 302 \n"
     "Plotcraftsman Parameter    \n"
     "Plotcraftsman.exe [*.FX-Datei] [*.PCF-Konfigurationsdatei]"},
    {303,
     "20000INFO 303 \n"
     "Default-Configurationfile CON0.PCF does not exist. \n"
     "Please reinstall Plotcraftsman.",
     "20000INFO 303 \n"
     "Konfigurationsfile CON0.PCF existiert nicht am Aufrufort. \n"
     "Eine Neuinstallation sollte dieses Problem beheben."},
};

TEST(CatalogueMessages, TextsInBothLanguagesExactly) {
    for (const TextCase& c : kMessageCases) {
        EXPECT_EQ(CatalogueText(c.number, kLanguageEnglish), c.english) << c.number;
        EXPECT_EQ(CatalogueText(c.number, kLanguageGerman), c.german) << c.number;
        EXPECT_EQ(CatalogueTextByKey(kEnglishBase + c.number), c.english) << c.number;
        EXPECT_EQ(CatalogueTextByKey(kGermanBase + c.number), c.german) << c.number;
    }
}

TEST(CatalogueMessages, EveryErrorHasATextInBothLanguages) {
    for (int n = 0; n <= 36; ++n) {
        const std::string prefix = "10000ERROR " + std::to_string(n) + " ";
        for (const std::uint8_t language : {kLanguageEnglish, kLanguageGerman}) {
            const std::string text = CatalogueText(n, language);
            EXPECT_TRUE(text.starts_with(prefix))
                << "message " << n << ", language " << int{language} << ": \"" << text << '"';
            EXPECT_GT(text.size(), prefix.size()) << "message " << n << " has no message proper";
        }
    }
}

TEST(CatalogueMessages, QuestionsWarningsAndInformationCarryTheirKindCode) {
    struct Case {
        int number;
        const char* code;
    } const cases[] = {
        {100, "30000"}, {101, "30000"}, {102, "30000"}, {103, "30000"},
        {202, "00000"}, {302, "20000"}, {303, "20000"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(CatalogueText(c.number, kLanguageEnglish).starts_with(c.code)) << c.number;
        EXPECT_TRUE(CatalogueText(c.number, kLanguageGerman).starts_with(c.code)) << c.number;
    }
}

TEST(CatalogueMessages, ReservedAndUnusedNumbersHaveNoText) {
    // 200, 201, 300 and 301 are reserved; the others lie just beside used numbers.
    for (const int n : {200, 201, 300, 301, 37, 99, 104, 199, 203, 304, 499, 500, 724}) {
        EXPECT_EQ(CatalogueText(n, kLanguageEnglish), "") << n;
        EXPECT_EQ(CatalogueText(n, kLanguageGerman), "") << n;
    }
}

TEST(CatalogueCaptions, TextsInBothLanguagesExactly) {
    const TextCase cases[] = {
        {501, "&Redraw", "&Neu zeichnen"},
        {508, "&Open", "Ö&ffnen"},
        {512, "-", "-"},
        {560, "Grid text", "Achsenbeschriftung"},
        {626, "Arc in  Degrees", "Winkel in Grad"},  // two blanks
        {627, "Black/ White", "schwarz/ weiß"},
        {642, "Grid thickness ", "Strichstärke Gitter"},  // trailing blank
        {644, "Y-axis", "y-Achse"},
        {680, "Function Dependencies", "Abhängigkeiten"},
        {691, "&Dependencies", "&Abhängigkeiten"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(CatalogueText(c.number, kLanguageEnglish), c.english) << c.number;
        EXPECT_EQ(CatalogueText(c.number, kLanguageGerman), c.german) << c.number;
    }
}

TEST(CatalogueCaptions, ListBoxItemsFollowTheirTag) {
    // A list box tagged 629 reads its four colour entries from 629 onwards.
    const TextCase items[] = {
        {629, "Background", "Hintergrund"},
        {630, "Zero Axes", "Nullachsen"},
        {631, "Main Grid", "Hauptgitter"},
        {632, "Help Grid", "Hilfsgitter"},
    };
    for (const TextCase& c : items) {
        EXPECT_EQ(CatalogueText(c.number, kLanguageEnglish), c.english) << c.number;
        EXPECT_EQ(CatalogueText(c.number, kLanguageGerman), c.german) << c.number;
    }
}

TEST(CatalogueCaptions, LegendTitleIsEnglishOnlyAndAnfuegenGermanOnly) {
    EXPECT_EQ(CatalogueText(670, kLanguageEnglish), "Legend");
    EXPECT_EQ(CatalogueText(670, kLanguageGerman), "");
    EXPECT_EQ(CatalogueTextByKey(kGermanBase + 670), "");

    EXPECT_EQ(CatalogueText(537, kLanguageGerman), "Anfügen");
    EXPECT_EQ(CatalogueText(537, kLanguageEnglish), "");
    EXPECT_EQ(CatalogueTextByKey(kEnglishBase + 537), "");
}

TEST(CatalogueCaptions, LanguagesCoverTheSameNumbersExceptTwo) {
    int withText = 0;
    for (int n = 0; n < kEnglishBase - kGermanBase; ++n) {
        const bool english = !CatalogueText(n, kLanguageEnglish).empty();
        const bool german = !CatalogueText(n, kLanguageGerman).empty();
        if (n == 537 || n == 670) {
            EXPECT_NE(english, german) << n;
        } else {
            EXPECT_EQ(english, german) << n;
        }
        withText += english || german ? 1 : 0;
    }
    // 44 messages and the captions; guards against a loop that never finds a text.
    EXPECT_GT(withText, 100);
}

TEST(CatalogueCaptions, PlotterSettingsUseEveryNumberFrom700To723) {
    for (int n = 700; n <= 723; ++n) {
        EXPECT_NE(CatalogueText(n, kLanguageEnglish), "") << n;
        EXPECT_NE(CatalogueText(n, kLanguageGerman), "") << n;
    }
}

TEST(CatalogueLookup, OnlyLanguageOneReadsGerman) {
    const std::string english = CatalogueText(9, kLanguageEnglish);
    const std::string german = CatalogueText(9, kLanguageGerman);
    ASSERT_NE(english, german);
    for (const std::uint8_t language : {2, 7, 255}) {
        EXPECT_EQ(CatalogueText(9, language), english) << int{language};
    }
}

TEST(CatalogueLookup, KeysOutsideBothLanguageRangesHaveNoText) {
    // 9 and 60009 are message 9 without a base and with one base too many.
    for (const int key : {0, 9, 39999, 60009, -1, -40009, INT_MAX, INT_MIN}) {
        EXPECT_EQ(CatalogueTextByKey(key), "") << key;
    }
    EXPECT_EQ(CatalogueText(INT_MAX, kLanguageEnglish), "");
    EXPECT_EQ(CatalogueText(INT_MAX, kLanguageGerman), "");
    EXPECT_EQ(CatalogueText(-1, kLanguageGerman), "");
}

TEST(CatalogueLookup, NoStoredTextIsLongEnoughToBeCut) {
    int longestKey = 0;
    std::size_t longest = 0;
    for (int key = kGermanBase; key < kEnglishBase + (kEnglishBase - kGermanBase); ++key) {
        const std::size_t length = CharacterCount(CatalogueTextByKey(key));
        EXPECT_LE(length, kMaxCatalogueTextLength) << key;
        if (length > longest) {
            longest = length;
            longestKey = key;
        }
    }
    // German message 17: 213 characters in 215 bytes, handed out whole.
    EXPECT_EQ(longestKey, kGermanBase + 17);
    EXPECT_EQ(longest, 213u);
    for (const TextCase& c : kMessageCases) {
        if (c.number == 17) {
            EXPECT_EQ(CatalogueTextByKey(longestKey), c.german);
        }
    }
}

TEST(DecideMessage, KindTextAndButtons) {
    struct Case {
        std::uint8_t language;
        std::uint32_t number;
        ButtonSet buttons;
        MessageKind kind;
        const char* text;
    } const cases[] = {
        {kLanguageEnglish, 202, ButtonSet::Ok, MessageKind::Warning,
         "Warnng 202 \n"
         "The screensize in the current loaded configurationfile is greater then \n"
         "the actual screensize. Loading default configuration."},
        {kLanguageGerman, 100, ButtonSet::YesNoCancel, MessageKind::Question,
         "FRAGE 100        \n"
         "Soll die gegenwärtige Auswahlliste gespeichert werden?"},
        {kLanguageEnglish, 100, ButtonSet::YesNoCancel, MessageKind::Question,
         "Question 100 \n"
         "Save the selection list?"},
        {kLanguageEnglish, 302, ButtonSet::Ok, MessageKind::Information,
         "INFO 302 \n"
         "Plotcraftsman Parameters \n"
         "Plotcraftsman.exe -h   this Help \n"
         "Plotcraftsman.exe [*.FX-file] [*.PCF-file]"},
        {kLanguageGerman, 13, ButtonSet::Ok, MessageKind::Error,
         "ERROR 13 \n"
         "Es ist nur ein Parameter erlaubt!"},
        // Any code but 1 means English.
        {7, 13, ButtonSet::Ok, MessageKind::Error,
         "ERROR 13 \n"
         "Only ONE parameter legal!"},
        {255, 101, ButtonSet::YesNo, MessageKind::Question,
         "Question 101 \n"
         "Functionname already exists! \n"
         "Overwrite?"},
        // Only the low 16 bits name the message.
        {kLanguageGerman, 65536 + 9, ButtonSet::Ok, MessageKind::Error,
         "ERROR 9 \n"
         "Keine Funktion ausgewählt. \n"
         "-> Funktion in das Listenfeld  'darzustellende Funktionen'  eingeben!"},
        {kLanguageEnglish, 0xFFFF0000u | 102, ButtonSet::YesNo, MessageKind::Question,
         "Question 102 \n"
         "Delete Funktion?"},
    };
    for (const Case& c : cases) {
        const MessageDecision decision = DecideMessage(c.language, c.number, c.buttons);
        EXPECT_EQ(decision.kind, c.kind) << c.number;
        EXPECT_EQ(decision.text, c.text) << c.number;
        EXPECT_EQ(decision.buttons, c.buttons) << c.number;
    }
}

TEST(DecideMessage, NumberWithoutTextGivesNoKindAndNoText) {
    struct Case {
        std::uint8_t language;
        std::uint32_t number;
    } const cases[] = {
        {kLanguageEnglish, 37},     {kLanguageGerman, 37},     {kLanguageEnglish, 200},
        {kLanguageGerman, 301},     {kLanguageEnglish, 65535}, {kLanguageGerman, 65536 + 200},
        {kLanguageEnglish, 123456}, {kLanguageEnglish, 537},  // German-only caption
    };
    for (const Case& c : cases) {
        const MessageDecision decision = DecideMessage(c.language, c.number, ButtonSet::YesNo);
        EXPECT_EQ(decision.kind, MessageKind::None) << c.number;
        EXPECT_EQ(decision.text, "") << c.number;
        EXPECT_EQ(decision.buttons, ButtonSet::YesNo) << c.number;
    }
}

TEST(DecideMessage, TextWithoutKindDigitHasNoKindButLosesFiveCharacters) {
    // "Ö&ffnen": the Ö counts as one character though it takes two bytes.
    const MessageDecision open = DecideMessage(kLanguageGerman, 508, ButtonSet::Ok);
    EXPECT_EQ(open.kind, MessageKind::None);
    EXPECT_EQ(open.text, "en");

    const MessageDecision separator = DecideMessage(kLanguageEnglish, 512, ButtonSet::Ok);
    EXPECT_EQ(separator.kind, MessageKind::None);
    EXPECT_EQ(separator.text, "");
}

}  // namespace
}  // namespace pc
