#pragma once
// The program's file dialogs with their filters, default names and extensions. Each
// returns the chosen path, or an empty string when the dialog was cancelled.

#include <QString>

class QWidget;

namespace pc {

// Open: a function file or a configuration (the dialog's filter offers both).
QString AskOpenFunctionFile(QWidget* parent);
// Save As of the function file: default name "test.fx", asks before overwriting.
QString AskSaveFunctionFile(QWidget* parent, const QString& current);
// Save as Bitmap: PNG, SVG, PDF or BMP; a name typed without an extension gets the one
// of the format chosen (".png" unless another is chosen).
QString AskSaveBitmap(QWidget* parent);
// The preferences' Load and Save of a configuration, starting in the user directory.
QString AskOpenConfiguration(QWidget* parent);
QString AskSaveConfiguration(QWidget* parent);
// The parameter window's table files (".fx1", one value per line), default name "Liste".
QString AskOpenParameterTable(QWidget* parent);
QString AskSaveParameterTable(QWidget* parent);

// The legend's value table (".tfx") and the function info window's ".fif".
QString AskSaveValueTable(QWidget* parent);
QString AskSaveFunctionInfo(QWidget* parent);
// The plotter window's Plot to File: ".plt" unless another extension is typed.
QString AskSavePlotterFile(QWidget* parent);

}  // namespace pc
