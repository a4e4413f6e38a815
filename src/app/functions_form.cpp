#include "functions_form.h"

#include <QLabel>
#include <QVBoxLayout>

#include "application.h"
#include "help_form.h"

namespace pc {

TFunctionsForm::TFunctionsForm(Application& application) : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("TFunctionsForm"));
    setWindowTitle(QStringLiteral("Functions"));
    auto* note = new QLabel(this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setText(QStringLiteral("Functions"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addStretch();
    AddHelpKey(*this, [&application] { application.ShowHelp(QStringLiteral("index.html")); });
}

}  // namespace pc
