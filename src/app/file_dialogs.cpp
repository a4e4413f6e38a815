#include "file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

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

// "png" of "PNG (*.png)".
QString FilterSuffix(const QString& filter) {
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    if (star < 0)
        return {};
    const qsizetype end = filter.indexOf(QRegularExpression(QStringLiteral("[ );]")), star);
    return filter.mid(star + 2, end < 0 ? -1 : end - star - 2);
}

// The save dialog of the picture: a name typed without an extension gets the chosen
// format's, before the dialog asks whether to overwrite a file of that name.
class BitmapSaveDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    void accept() override {
        setDefaultSuffix(FilterSuffix(selectedNameFilter()));
        QFileDialog::accept();
    }
};

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
    BitmapSaveDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("PNG (*.png)"), QStringLiteral("SVG (*.svg)"),
                           QStringLiteral("PDF (*.pdf)"), QStringLiteral("Bitmap (*.bmp)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    QString path = dialog.selectedFiles().first();
    // A platform's own dialog accepts without the override above.
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + FilterSuffix(dialog.selectedNameFilter());
    return path;
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
