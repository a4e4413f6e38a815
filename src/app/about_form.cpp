#include "about_form.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pc {

TTMyAbout::TTMyAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TTMyAbout"));
    setWindowTitle(QStringLiteral("Info"));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    auto* name = new QLabel(QStringLiteral("<b>Plotcraftsman</b>"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    auto* line = new QLabel(
        QStringLiteral("Plotcraftsman is an advanced mathematical function plotter."), this);
    line->setObjectName(QStringLiteral("Comments"));
    auto* version =
        new QLabel(QStringLiteral("Version ") + QApplication::applicationVersion(), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName(QStringLiteral("OKButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* text = new QVBoxLayout;
    for (QLabel* label : {name, line, version}) {
        label->setAccessibleName(
            label->text().remove(QLatin1String("<b>")).remove(QLatin1String("</b>")));
        text->addWidget(label);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

std::string FunctionParserInfo() {
    return "TFunctionParser\n"
           "Compiles terms of the program's term language and evaluates them in 80-bit "
           "extended precision: at most 500 instructions and 500 stack slots per term.";
}

}  // namespace pc
