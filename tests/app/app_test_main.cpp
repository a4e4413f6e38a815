#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "app/main_form.h"
#include "app_test_support.h"
#include "catalogue/startup_decisions.h"

namespace pc::test {

DialogAnswerer::DialogAnswerer(Answer answer) : m_answer(std::move(answer)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("Label1")))
            texts.push_back(label->text().toStdString());
        else if (auto* box = qobject_cast<QMessageBox*>(dialog))
            texts.push_back(box->text().toStdString());
        m_answer(*dialog);
    });
    m_timer.start(5);
}

DialogAnswerer::~DialogAnswerer() = default;

DialogAnswerer::Answer Press(const QString& text) {
    return [text](QDialog& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->isVisible() &&
                button->text().remove(QLatin1Char('&')) == QString(text).remove(QLatin1Char('&'))) {
                button->click();
                return;
            }
        }
        dialog.reject();
    };
}

DialogAnswerer::Answer ChooseFile(const QString& path, const QString& press) {
    const DialogAnswerer::Answer message = Press(press);
    return [path, message](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            files->selectFile(path);
            static_cast<QDialog*>(files)->accept();
        } else {
            message(dialog);
        }
    };
}

std::string TemporaryFolder() {
    static QTemporaryDir root;
    static int count = 0;
    const QString folder = root.path() + QStringLiteral("/t%1").arg(++count);
    QDir().mkpath(folder);
    return folder.toStdString();
}

std::unique_ptr<Application> StartApplication(const std::string& file) {
    auto application = std::make_unique<Application>();
    CommandLineDecision decision;
    if (!file.empty())
        decision.functionFile = file;
    application->Start(decision);
    return application;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace pc::test

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform's notes about what it cannot do say nothing about the program.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")) ||
        text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (g_defaultHandler)
        g_defaultHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
    g_defaultHandler = qInstallMessageHandler(FilterQtMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PLOTCRAFTSMAN_NO_SPLASH", "1");
    qputenv("PLOTCRAFTSMAN_DATA_DIR", PLOTCRAFTSMAN_DATA);
    // The settings and the user directory of whoever runs the tests stay untouched.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
