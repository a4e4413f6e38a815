#include "tool_window.h"

#include <QFile>
#include <QIcon>
#include <QToolButton>

#include "application.h"
#include "help_form.h"

namespace pc {

void SetUpToolButtons(QWidget& window, QToolButton& onTop, QToolButton& help,
                      Application& application, const QString& page) {
    const QString bitmaps =
        QString::fromStdString(application.State().installDirectory) + QStringLiteral("Bitmaps/");
    for (const auto& [button, picture] : {std::pair{&help, "HELP"}, std::pair{&onTop, "ONTOP"}}) {
        const QString file = bitmaps + QLatin1String(picture) + QStringLiteral(".svg");
        if (QFile::exists(file))
            button->setIcon(QIcon(file));
        else
            button->setText(button->accessibleName());
    }
    onTop.setCheckable(true);
    QObject::connect(&onTop, &QToolButton::toggled, &window, [&window](bool above) {
        window.setWindowFlag(Qt::WindowStaysOnTopHint, above);
        window.show();
    });
    const auto show = [&application, page] { application.ShowHelp(page); };
    QObject::connect(&help, &QToolButton::clicked, &window, show);
    AddHelpKey(window, show);
}

}  // namespace pc
