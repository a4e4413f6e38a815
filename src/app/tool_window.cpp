#include "tool_window.h"

#include <QFile>
#include <QIcon>
#include <QLineEdit>
#include <QToolButton>

#include "application.h"
#include "help_form.h"

namespace pc {

namespace {

void SetPicture(QToolButton& button, Application& application, const char* picture) {
    const QString file = QString::fromStdString(application.State().installDirectory) +
                         QStringLiteral("Bitmaps/") + QLatin1String(picture) +
                         QStringLiteral(".svg");
    if (QFile::exists(file))
        button.setIcon(QIcon(file));
    else
        button.setText(button.accessibleName());
}

}  // namespace

void SetUpHelpButton(QWidget& window, QToolButton& help, Application& application,
                     const QString& page) {
    SetPicture(help, application, "HELP");
    const auto show = [&application, page] { application.ShowHelp(page); };
    QObject::connect(&help, &QToolButton::clicked, &window, show);
    AddHelpKey(window, show);
}

void SetUpToolButtons(QWidget& window, QToolButton& onTop, QToolButton& help,
                      Application& application, const QString& page) {
    SetPicture(onTop, application, "ONTOP");
    onTop.setCheckable(true);
    QObject::connect(&onTop, &QToolButton::toggled, &window, [&window](bool above) {
        window.setWindowFlag(Qt::WindowStaysOnTopHint, above);
        window.show();
    });
    SetUpHelpButton(window, help, application, page);
}

void UpperCaseAsTyped(QLineEdit& line, const std::function<void(const QString&)>& edited) {
    QObject::connect(&line, &QLineEdit::textEdited, &line, [&line, edited](const QString& text) {
        const int cursor = line.cursorPosition();
        line.setText(text.toUpper());
        line.setCursorPosition(cursor);
        edited(line.text());
    });
}

}  // namespace pc
