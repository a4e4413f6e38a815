#include "message_catalogue.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

#include "notifier.h"

namespace pc {

namespace {

struct Entry {
    int number;
    const char* english;  // nullptr: the entry has no English text
    const char* german;   // nullptr: the entry has no German text
};

// Sorted by number, so a lookup is a binary search over constant data and the table
// costs nothing at start-up. The texts are kept byte for byte as the program has always
// shown them, misspellings and blanks before line feeds included, because users and
// documentation quote them. Numbers 200, 201, 300 and 301 are reserved and have no text.
constexpr auto kEntries = std::to_array<Entry>({
    // Messages: a five-digit kind code (first digit 0 warning, 1 error, 2 information,
    // 3 question), then the kind word, the number and the message proper.
    {0,
     "10000ERROR 0 \n"
     "Dummy, wird nicht aufgerufen",
     "10000ERROR 0 \n"
     "Dummy, wird nicht aufgerufen"},
    {1,
     "10000ERROR 1 \n"
     "Variable - Max Value must be greater than Variable - Min Value. \n"
     "-> correct  Limits.",
     "10000ERROR 1 \n"
     "Variable - Maximalwert muß größer als \n"
     "Variable - Minimalwert sein. \n"
     "-> Intervallgrenzen für Variable korrigieren!"},
    {2,
     "10000ERROR 2 \n"
     "Abort: logarithmic view impossible,  \n"
     "Arguments less than zero.",
     "10000ERROR 2 \n"
     "Abbruch: logarithmische Darstellung nicht möglich,  \n"
     "Argumente kleiner Null."},
    {3,
     "10000ERROR 3 \n"
     "Abort: logarithmic view impossible,  \n"
     "Arguments or Functionvalues smaller than Zero.",
     "10000ERROR 3 \n"
     "Abbruch: logarithmische Darstellung nicht möglich,  \n"
     "Argumente oder Funktionswerte kleiner Null."},
    {4,
     "10000ERROR 4 \n"
     "Userdefined x-Max Value must be greater than x-Min Value. \n"
     "-> Correct horizontal Limits.",
     "10000ERROR 4 \n"
     "Benutzerdefinierter x-Maximalwert muß größer als  \n"
     "benutzerdefinierter x-Minimalwert sein. \n"
     "-> Horizontale Intervallgrenzen korrigieren."},
    {5,
     "10000ERROR 5           \n"
     "Logarithmic View impossible (negative Intervallimit). \n"
     "Correct userdefined horizontal Intervallimits.",
     "10000ERROR 5           \n"
     "Logarithmische Darstellung nicht möglich (negative Intervallgrenze). \n"
     "Benutzerdefinierte horizontale Intervallgrenzen korrigieren."},
    {6,
     "10000ERROR 6 \n"
     "Logarithmic View impossible (negative Intervallimit). \n"
     "Correct userdefined vertical Intervallimits.",
     "10000ERROR 6 \n"
     "Logarithmische Darstellung nicht möglich (negative Intervallgrenze). \n"
     "Benutzerdefinierte vertikale Intervallgrenzen korrigieren."},
    {7,
     "10000ERROR 7 \n"
     "Logarithmic View impossible. \n"
     "Arguments are smaller than zero. Correct userdefined horizontal \n"
     "Intervallimits.",
     "10000ERROR 7 \n"
     "Logarithmische Darstellung nicht möglich. \n"
     "Argumente sind kleiner Null. Benutzerdefinierte horizontale \n"
     "Intervallgrenzen korrigieren."},
    {8,
     "10000ERROR 8      \n"
     "Plotcraftsman - Configurationfile (.PCF-File) defect! \n"
     "Loading defaults.",
     "10000ERROR 8      \n"
     "Plotcraftsman - Konfigurationdatei (.PCF-Datei) defekt! \n"
     "Lade Voreinstellungen."},
    {9,
     "10000ERROR 9 \n"
     "No Function selected. \n"
     "-> Drag Function(s) to the List  'View Functions' !",
     "10000ERROR 9 \n"
     "Keine Funktion ausgewählt. \n"
     "-> Funktion in das Listenfeld  'darzustellende Funktionen'  eingeben!"},
    {10,
     "10000ERROR 10 \n"
     "Abort: Values too different, View impossible.",
     "10000ERROR 10 \n"
     "Abbruch: Werte sind zu unterschiedlich, Darstellung nicht möglich."},
    {11,
     "10000ERROR 11 \n"
     "Functionname exceeds limit of 8 characters!",
     "10000ERROR 11 \n"
     "Funktionsnamen dürfen maximal 8 Zeichen lang sein!"},
    {12,
     "10000ERROR 12 \n"
     "Parametername exceeds limit of 8 characters!",
     "10000ERROR 12 \n"
     "Parameternamen dürfen maximal 8 Zeichen lang sein!"},
    {13,
     "10000ERROR 13 \n"
     "Only ONE parameter legal!",
     "10000ERROR 13 \n"
     "Es ist nur ein Parameter erlaubt!"},
    {14,
     "10000ERROR 14 \n"
     "Obsolete Plotcraftsman - Configurationfile. \n"
     "PCF - Datei includes invalid version. \n"
     "Loading default configuration.",
     "10000ERROR 14 \n"
     "Alte Plotcraftsman - Konfigurationsdatei. \n"
     "PCF - Datei enthält ungültige Version. \n"
     "Lade Vorzugs-Konfiguration"},
    {15,
     "10000ERROR 15 \n"
     "Obsolete Plotcraftsman-Functionfile. \n"
     "FX - File includes invalid version. Abort!",
     "10000ERROR 15 \n"
     "Altes Plotcraftsman-Funktionsdatei. \n"
     "FX - Datei enthält ungültige Version. Abbruch"},
    {16,
     "10000ERROR 16 \n"
     "Plotcraftsman - Funktionfile (.FX-file) defect! \n"
     "Loading defaults.",
     "10000ERROR 16 \n"
     "Plotcraftsman - Funktionsdatei (.FX-Datei) defekt! \n"
     "Lade Voreinstellung."},
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
    {18,
     "10000ERROR 18 \n"
     "Unknown Callparameter! \n"
     "Specified file does not  exist. \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 18 \n"
     "Unbekannter Aufrufparameter! \n"
     "Angegebene Datei existiert nicht. \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    {19,
     "10000ERROR 19 \n"
     "Unknown Callparameter! \n"
     "No valid Plotcraftsman - Configurationfile (.PCF-File). \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 19 \n"
     "Unbekannter Aufrufparameter! \n"
     "Keine gültige Plotcraftsman - Konfigurationsdatei (.PCF-Datei). \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    {20,
     "10000ERROR 20 \n"
     "Unknown Callparameter! \n"
     "No valid Plotcraftsman - Functionsfile (.FX-File). \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 20 \n"
     "Unbekannter Aufrufparameter! \n"
     "Keine gültige Plotcraftsman - Funktionsdatei (.FX-Datei). \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    {21,
     "10000ERROR 21 \n"
     "Unknown Callparameters! \n"
     "No valid Plotcraftsman - Functionsfile (.FX-File) or \n"
     "no valid Plotcraftsman - Configurationfile (.PCF-File). \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 21 \n"
     "Unbekannte Aufrufparameter! \n"
     "Keine gültige Plotcraftsman - Funktionsdatei (.FX-Datei) oder \n"
     "keine gültige Plotcraftsman - Konfigurationsdatei (.PCF-Datei). \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    {22,
     "10000ERROR 22 \n"
     "Unknown Callparameter(s)! \n"
     "Plotcraftsman - Functionsfile (.FX-File) or \n"
     "Plotcraftsman - Configurationfile (.PCF-File) not found! \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 22 \n"
     "Unbekannte(r) Aufrufparameter! \n"
     "Plotcraftsman - Funktionsdatei (.FX-Datei) oder  \n"
     "Plotcraftsman - Konfigurationsdatei (.PCF-Datei) nicht gefunden! \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    {23,
     "10000ERROR 23 \n"
     "There are maximal two Callparameters possible! \n"
     "See Plotcraftsman.exe -h for help.",
     "10000ERROR 23 \n"
     "Es sind maximal zwei Aufrufparameter erlaubt! \n"
     "Siehe Aufruf Plotcraftsman.exe -h"},
    {24,
     "10000ERROR 24 \n"
     "There are maximal 100000 calculation points possible!",
     "10000ERROR 24 \n"
     "Es sind maximal 100000 Stützstellen erlaubt!"},
    {25,
     "10000ERROR 25 \n"
     "There must be at least two calculation points!",
     "10000ERROR 25 \n"
     "Es müssen mindestens 2 Stützstellen sein!"},
    {26,
     "10000ERROR 26 \n"
     "DRAG - DROP: maximal two files possible!",
     "10000ERROR 26 \n"
     "Bei DRAG - DROP sind maximal zwei Dateien erlaubt!"},
    {27,
     "10000ERROR 27 \n"
     "DRAG - DROP only valid with Plotcraftsman - Functionsfile (.FX-File) or \n"
     "Plotcraftsman - Configurationfile (.PCF-File) or both!",
     "10000ERROR 27 \n"
     "DRAG - DROP nur mit Plotcraftsman - Funktionsdatei (.FX-Datei) bzw.  \n"
     "Plotcraftsman - Konfigurationsdatei (.PCF-Datei) erlaubt!"},
    {28,
     "10000ERROR 28 \n"
     "Drag - Drop Error! \n"
     "Dropped files are invalid. \n"
     "Only  a Plotcraftsman - Functionsfile (.FX-File) or a \n"
     "Plotcraftsman - Configurationfile (.PCF-File) or both possible.",
     "10000ERROR 28 \n"
     "Drag - Drop Fehler! \n"
     "Übergabedateien ungültig. \n"
     "Nur Plotcraftsman - Funktionsdatei (.FX-Datei) oder  \n"
     "Plotcraftsman - Konfigurationsdatei (.PCF-Datei) oder beide zulässig."},
    {29,
     "10000ERROR 29 \n"
     "No function(s) selected for display!. \n"
     "Please select function(s)!",
     "10000ERROR 29 \n"
     "Es ist keine Funktion zur Darstellung angewählt. \n"
     "Bitte Funktion(en) selektieren!"},
    {30,
     "10000ERROR 30 \n"
     "Userdefined y-Max Value must be greater then y-Min Value. \n"
     "-> correct vertical Limits.",
     "10000ERROR 30 \n"
     "Benutzerdefinierter y-Maximalwert muß größer als  \n"
     "benutzerdefinierter y-Minimalwert sein. \n"
     "-> Vertikale Intervallgrenzen korrigieren."},
    {31,
     "10000ERROR 31 \n"
     "No Reference-curve selected.                \n"
     "Please select a reference-curve!",
     "10000ERROR 31 \n"
     "Keine Referenzkurve ausgewählt.                \n"
     "Bitte eine Referenzkurve auswählen!"},
    {32,
     "10000ERROR 32 \n"
     "No valid Functionname! \n"
     "Functionnamens starts with a letter and are max. 8 characters long.",
     "10000ERROR 32 \n"
     "Kein gültiger Funktionsname! \n"
     "Funktionsnamen beginnen mit einem Buchstaben und sind max. 8 zeichen lang."},
    {33,
     "10000ERROR 33 \n"
     "Invalid character in Functionname!",
     "10000ERROR 33 \n"
     "Unerlaubtes Zeichen im Funktionsnamen!"},
    {34,
     "10000ERROR 34 \n"
     "Syntaxerror: Input e. g. F1(X)=SIN(X)*X+1",
     "10000ERROR 34 \n"
     "Syntaxfehler: Eingabe z. B. F1(X)=SIN(X)*X+1"},
    {35,
     "10000ERROR 35 \n"
     "Variablename only X or Y or T valid!",
     "10000ERROR 35 \n"
     "Variablenname nur X oder Y oder T erlaubt!"},
    {36,
     "10000ERROR 36 \n"
     "The file is NOT a Plotcraftsman file.",
     "10000ERROR 36 \n"
     "Dieses File ist kein Plotcraftsman file."},
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
    {102,
     "30000Question 102 \n"
     "Delete Funktion?",
     "30000FRAGE 102 \n"
     "Funktion löschen?"},
    {103,
     "30000Question 103 \n"
     "Delete Item?",
     "30000FRAGE 103 \n"
     "Eintrag löschen?"},
    {202,
     "00000Warnng 202 \n"
     "The screensize in the current loaded configurationfile is greater then \n"
     "the actual screensize. Loading default configuration.",
     "00000Warnng 202 \n"
     "In der aktiven Konfigurationsdatei ist die Bildschirmgröße größer als \n"
     "die aktelle Bildschirmgröße. Es wird die Voreinstellung geladenen."},
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

    // General captions and the main menu.
    {501, "&Redraw", "&Neu zeichnen"},
    {502, "&Cancel", "&Abbrechen"},
    {506, "&File", "&Datei"},
    {507, "&New", "&Neu"},
    {508, "&Open", "Ö&ffnen"},
    {509, "&Save", "&Speichern"},
    {510, "Save &As", "Speichern &Als"},
    {511, "&Print", "D&rucken"},
    {512, "-", "-"},
    {513, "&Exit", "&Beenden"},
    {514, "&Window", "&Fenster"},
    {515, "F&unctions", "F&unktionen"},
    {516, "&Settings", "&Einstellungen"},
    {517, "&Preview", "&Vorschau"},
    {518, "&Options", "&Optionen"},
    {519, "&Show Hints", "&Zeige Hinweis"},
    {520, "&Preferences", "&Voreinstellungen"},
    {521, "&Help", "&Hilfe"},
    {522, "-", "-"},
    {523, "&Info", "&Info"},
    {524, "Histogram", "Histogramm"},
    {530, "&Copy to Clipboard", "Z&wischenablage"},
    {531, "&Save as Bitmap", "&Speichern als Bitmap"},
    {537, nullptr, "Anfügen"},  // German only, so English windows show it blank
    // Plot settings window; a radio group's caption is followed by its choices. 557 and
    // 560 are the preferences' grid switches.
    {541, "&Grid", "&Gitter"},
    {542, "G&ridtype", "G&ittertyp"},
    {543, "&cartesian", "&kartesisch"},
    {544, "&polar", "&polar"},
    {545, "horizontal", "horizontal"},
    {546, "&linear", "&linear"},
    {547, "l&ogarithmic", "l&ogarithmisch"},
    {548, "&dB", "&dB"},
    {549, "vertical", "vertikal"},
    {550, "li&near", "li&near"},
    {551, "lo&garithmic", "lo&garithmisch"},
    {552, "d&B", "d&B"},
    {553, "View mode", "Ansicht"},
    {554, "&user defined", "&benutzerdefiniert"},
    {555, "&reference", "&Referenzkurve"},
    {556, "g&lobal", "g&lobal"},
    {557, "Grid visible", "Gitter sichtbar"},
    {558, "&Display", "&Anzeige"},
    {559, "&Variable", "&Variable"},
    {560, "Grid text", "Achsenbeschriftung"},
    {561, "Startvalue", "Startwert"},
    {562, "Stopvalue", "Endwert"},
    {563, "Settings", "Einstellungen"},
    {564, "&Equal aspect", "&Gleicher Maßstab"},

    // Function manager and parameter window.
    {599, "Plotcraftsman Functions Window", "Plotcraftsman Funktionsfenster"},
    {602, "Remove function", "Funktion entfernen"},
    {603, "Delete function", "Funktion löschen"},
    {605, "Parameter Window", "Parameterfenster"},
    {606, "Values", "Werte"},  // the caption of the radio group whose items are 607 to 609
    {607, "from List", "aus Liste"},
    {608, "automatic", "automatisch"},
    {609, "from File", "aus Datei"},
    {610, "Start value", "Startwert"},
    {611, "Stop value", "Endwert"},
    {612, "Count", "Anzahl"},
    {613, "Browse", "Durchsuchen"},
    {614, "animate Parameter.", "Parameter animieren"},
    {615, "Load", "Laden"},
    {616, "Save", "Speichern"},

    // Preferences window.
    {620, "Preferences", "Voreinstellungen"},
    {621, "Main Window", "Hauptfenster"},
    {626, "Arc in  Degrees", "Winkel in Grad"},
    {627, "Black/ White", "schwarz/ weiß"},
    {628, "Colors", "Farben"},
    {629, "Background", "Hintergrund"},
    {630, "Zero Axes", "Nullachsen"},
    {631, "Main Grid", "Hauptgitter"},
    {632, "Help Grid", "Hilfsgitter"},
    {636, "Preview Window", "Vorschaufenster"},
    {638, "Language", "Sprache"},
    {639, "Load", "Laden"},
    {640, "Save", "Speichern"},
    {641, "Save layout as default", "Layout als Voreinstellung speichern"},
    {642, "Grid thickness ", "Strichstärke Gitter"},
    {643, "X-axis", "X-Achse"},
    {644, "Y-axis", "y-Achse"},
    {645, "Margins", "Ränder"},
    {646, "Left", "links"},
    {647, "Top", "oben"},
    {648, "Right", "rechts"},
    {649, "Bottom", "unten"},
    {650, "Classic drawing", "Klassische Darstellung"},

    // Line style window.
    {660, "Linestyle Window", "Linienstil-Fenster"},
    {661, "Change Color", "Farbe ändern"},
    {662, "Change Parameter", "Parameter ändern"},

    // Legend and dependencies windows, and their main menu items.
    {670, "Legend", nullptr},  // English only: the German legend window has no title
    {672, "Save as Table", "Speichern als Wertetabelle"},
    {673, "Reference", "Referenzkurve"},
    {674, "Function Info", "Funktionsinfo"},
    {680, "Function Dependencies", "Abhängigkeiten"},
    {690, "L&egend", "L&egende"},
    {691, "&Dependencies", "&Abhängigkeiten"},

    // Pen plotter settings window: the window's title, then each radio group's caption
    // followed by its choices, because the translation walk reads a group's items from
    // the numbers after its own.
    {700, "Plotter Settings", "Plottereinstellungen"},
    {701, "Pen Force", "Stiftandruck"},
    {702, "15 gramm", "15 Gramm"},
    {703, "24 gramm", "24 Gramm"},
    {704, "30 gramm", "30 Gramm"},
    {705, "36 gramm", "36 Gramm"},
    {706, "45 gramm", "45 Gramm"},
    {707, "51 gramm", "51 Gramm"},
    {708, "57 gramm", "57 Gramm"},
    {709, "66 gramm", "66 Gramm"},
    {710, "Pen Speed", "Stiftgeschwindigkeit"},
    {711, "10 cm/s", "10 cm/s"},
    {712, "20 cm/s", "20 cm/s"},
    {713, "30 cm/s", "30 cm/s"},
    {714, "40 cm/s", "40 cm/s"},
    {715, "50 cm/s", "50 cm/s"},
    {716, "60 cm/s", "60 cm/s"},
    {717, "Pen Acceleration", "Stiftbeschleunigung"},
    {718, "1 g", "1 g"},
    {719, "2 g", "2 g"},
    {720, "3 g", "3 g"},
    {721, "4 g", "4 g"},
    {722, "5 g", "5 g"},
    {723, "6 g", "6 g"},
});

constexpr bool StrictlyAscending() {
    for (std::size_t i = 1; i < kEntries.size(); ++i) {
        if (kEntries[i - 1].number >= kEntries[i].number) {
            return false;
        }
    }
    return true;
}
static_assert(StrictlyAscending(), "catalogue entries must be sorted by number, each once");

const Entry* FindEntry(int number) {
    const auto it =
        std::lower_bound(kEntries.begin(), kEntries.end(), number,
                         [](const Entry& entry, int wanted) { return entry.number < wanted; });
    if (it == kEntries.end() || it->number != number) {
        return nullptr;
    }
    return &*it;
}

// Byte offset just past the first `count` characters of UTF-8 `text`, or its size when
// it is shorter. Limits count characters, not bytes, so an umlaut is never split.
std::size_t OffsetAfterCharacters(std::string_view text, std::size_t count) {
    std::size_t offset = 0;
    for (; count > 0 && offset < text.size(); --count) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80) {
            ++offset;
        }
    }
    return offset;
}

MessageKind KindFromCode(char digit) {
    switch (digit) {
        case '0':
            return MessageKind::Warning;
        case '1':
            return MessageKind::Error;
        case '2':
            return MessageKind::Information;
        case '3':
            return MessageKind::Question;
        default:
            return MessageKind::None;
    }
}

constexpr std::size_t kKindCodeLength = 5;

// Each language owns the keys from its base up to the next base.
constexpr int kLanguageKeySpan = kEnglishBase - kGermanBase;

}  // namespace

std::string CatalogueTextByKey(int key) {
    const bool german = key >= kGermanBase && key < kEnglishBase;
    const bool english = key >= kEnglishBase && key < kEnglishBase + kLanguageKeySpan;
    if (!german && !english) {
        return {};
    }
    const Entry* entry = FindEntry(key - (german ? kGermanBase : kEnglishBase));
    const char* text = entry == nullptr ? nullptr : (german ? entry->german : entry->english);
    if (text == nullptr) {
        return {};
    }
    const std::string_view view(text);
    return std::string(view.substr(0, OffsetAfterCharacters(view, kMaxCatalogueTextLength)));
}

std::string CatalogueText(int number, Language language) {
    const int base = language == Language::German ? kGermanBase : kEnglishBase;
    // A number far outside the catalogue must not overflow the key.
    if (number > std::numeric_limits<int>::max() - base) {
        return {};
    }
    return CatalogueTextByKey(base + number);
}

ModalResult UnattendedAnswer(ButtonSet buttons) {
    switch (buttons) {
        case ButtonSet::Ok:
            return ModalResult::mrOk;
        case ButtonSet::YesNo:
            return ModalResult::mrNo;
        default:
            return ModalResult::mrCancel;
    }
}

MessageDecision DecideMessage(Language language, std::uint32_t number, ButtonSet buttons) {
    MessageDecision decision;
    decision.buttons = buttons;
    // Callers hand the number over in a wider integer; only its low 16 bits name the message.
    const std::string text = CatalogueText(static_cast<int>(number & 0xFFFFu), language);
    if (text.empty()) {
        return decision;
    }
    decision.kind = KindFromCode(text.front());
    decision.text = text.substr(OffsetAfterCharacters(text, kKindCodeLength));
    return decision;
}

}  // namespace pc
