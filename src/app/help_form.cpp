#include "help_form.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace pc {

namespace {

QToolButton* Button(QWidget* parent, const char* name, const QString& text, const QString& key) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setAccessibleName(text);
    button->setToolTip(text + QStringLiteral(" (") + key + QLatin1Char(')'));
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

}  // namespace

THelpForm::THelpForm(const QString& helpDirectory, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("THelpForm"));
    setWindowTitle(QStringLiteral("Plotcraftsman Help"));
    resize(760, 640);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Help page"));
    m_browser->setSearchPaths({helpDirectory});
    m_browser->setOpenExternalLinks(true);
    QToolButton* back =
        Button(this, "BackButton", QStringLiteral("Back"), QStringLiteral("Alt+Left"));
    QToolButton* forward =
        Button(this, "ForwardButton", QStringLiteral("Forward"), QStringLiteral("Alt+Right"));
    QToolButton* contents =
        Button(this, "ContentsButton", QStringLiteral("Contents"), QStringLiteral("Alt+Home"));
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, this,
            [this] { ShowPage(QStringLiteral("index.html")); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(QStringLiteral("Plotcraftsman Help - ") + m_browser->documentTitle());
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void THelpForm::ShowPage(const QString& page) {
    m_browser->setSource(QUrl(page));
}

void AddHelpKey(QWidget& window, const std::function<void()>& show) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, &window, show);
}

}  // namespace pc
