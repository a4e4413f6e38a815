#pragma once
// The numbers of the catalogue messages that the program's operations show. Every
// number the code passes to the message dialog is one of these names.

namespace pc {

// The function manager and the line style window.
inline constexpr int kMsgNoFunctionSelected = 9;      // Redraw with an empty display list
inline constexpr int kMsgTooManyPoints = 24;          // more than 100000 calculation points
inline constexpr int kMsgTooFewPoints = 25;           // fewer than 2 calculation points
inline constexpr int kMsgNothingShown = 29;           // Redraw with nothing shown and valid
inline constexpr int kMsgNotAPlotcraftsmanFile = 36;  // Open or a load that failed

// The function file.
inline constexpr int kMsgFunctionFileObsolete = 15;  // line 2 is not the version
inline constexpr int kMsgFunctionFileDefect = 16;    // too short, damaged, or bad checksum

// The configuration file.
inline constexpr int kMsgConfigurationDefect = 8;            // a line could not be converted
inline constexpr int kMsgConfigurationWrongVersion = 14;     // line 2 is not "1002"
inline constexpr int kMsgConfigurationScreenTooSmall = 202;  // even the default does not fit
inline constexpr int kMsgConfigurationMissing = 303;         // no such file: the program ends

// The command line; every one ends the program.
inline constexpr int kMsgWrongExtension = 17;          // one existing file, neither .FX nor .PCF
inline constexpr int kMsgFileMissing = 18;             // one argument, no such file
inline constexpr int kMsgSecondNotConfiguration = 19;  // .FX then not .PCF
inline constexpr int kMsgSecondNotFunctionFile = 20;   // .PCF then not .FX
inline constexpr int kMsgFirstNeitherFxNorPcf = 21;
inline constexpr int kMsgOneOfTwoFilesMissing = 22;
inline constexpr int kMsgTooManyArguments = 23;
inline constexpr int kMsgUsage = 302;  // the usage text, after a help word

// A file drop on the main window; nothing is loaded.
inline constexpr int kMsgDropTooManyFiles = 26;
inline constexpr int kMsgDropOneFileWrongKind = 27;
inline constexpr int kMsgDropTwoFilesWrongPair = 28;

// Questions of the windows.
inline constexpr int kMsgSaveSelectionList = 100;  // Yes / No / Cancel
inline constexpr int kMsgFunctionExists = 101;
inline constexpr int kMsgDeleteFunction = 102;
inline constexpr int kMsgDeleteItem = 103;

// The pending error the entry check leaves when a definition does not name exactly one
// variable: a marker, never shown as a message.
inline constexpr int kPendingOneVariable = 123456;

}  // namespace pc
