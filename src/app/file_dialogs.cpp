#include "file_dialogs.h"

#include <QFileDialog>

#include "catalogue/directories.h"

namespace pc {

namespace {

QString Ask(QWidget* parent, QFileDialog::AcceptMode mode, const QString& name,
            const QString& filter, const QString& suffix, const QString& start) {
    QFileDialog dialog(parent);
    dialog.setObjectName(mode == QFileDialog::AcceptSave ? QStringLiteral("SaveDialog1")
                                                         : QStringLiteral("OpenDialog1"));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (!start.isEmpty())
        dialog.setDirectory(start);
    if (!name.isEmpty())
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString UserFolder() {
    return QString::fromStdString(UserDirectory());
}

}  // namespace

QString AskOpenFunctionFile(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptOpen, {},
               QStringLiteral("Functionfiles (*.fx *.FX);;Configurationfiles (*.pcf *.PCF);;"
                              "All Files (*)"),
               QStringLiteral("fx"), {});
}

QString AskSaveFunctionFile(QWidget* parent, const QString& current) {
    return Ask(parent, QFileDialog::AcceptSave,
               current.isEmpty() ? QStringLiteral("test.fx") : current,
               QStringLiteral("Functionfile *.fx (*.fx);;All *.* (*)"), QStringLiteral("fx"), {});
}

QString AskSaveBitmap(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, {},
               QStringLiteral("Bitmap (*.bmp);;PNG (*.png);;All (*)"), QStringLiteral("bmp"), {});
}

QString AskOpenConfiguration(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptOpen, QStringLiteral("config"),
               QStringLiteral("Plotcraftsman Configurationfile (*.pcf);;All (*)"),
               QStringLiteral("pcf"), UserFolder());
}

QString AskSaveConfiguration(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, QStringLiteral("config"),
               QStringLiteral("Plotcraftsman Configurationfile (*.pcf);;All (*)"),
               QStringLiteral("pcf"), UserFolder());
}

QString AskOpenParameterTable(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptOpen, QStringLiteral("Liste"),
               QStringLiteral("Listendateien (*.fx1);;Alle (*)"), QStringLiteral("fx1"), {});
}

QString AskSaveParameterTable(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, QStringLiteral("Liste"),
               QStringLiteral("Listendateien (*.fx1);;Alle (*)"), QStringLiteral("fx1"), {});
}

QString AskSaveValueTable(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, {}, QStringLiteral("TableFile (*.tfx);;All (*)"),
               QStringLiteral("tfx"), {});
}

QString AskSaveFunctionInfo(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, {}, QStringLiteral("FileInfoFile (*.fif)"),
               QStringLiteral("fif"), {});
}

QString AskSavePlotterFile(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, {},
               QStringLiteral("Plotterfiles (*.plt);;All Files (*)"), QStringLiteral("plt"), {});
}

}  // namespace pc
