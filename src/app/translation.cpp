#include "translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>

namespace pc {

namespace {

int TagOf(const QObject& object) {
    return object.property(kTagProperty).toInt();
}

QString WithoutAccelerator(QString text) {
    // "&&" is a literal ampersand; a single "&" marks the accelerator.
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.simplified();
}

void TranslateRadioGroup(QGroupBox& group, int tag, Language language) {
    group.setTitle(CatalogueQString(tag, language));
    int index = 0;
    for (QRadioButton* button : group.findChildren<QRadioButton*>())
        button->setText(CatalogueQString(tag + ++index, language));
}

void TranslateWidget(QWidget& widget, int tag, Language language) {
    const QString text = CatalogueQString(tag, language);
    if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        if (group->property(kRadioGroupProperty).toBool())
            TranslateRadioGroup(*group, tag, language);
        else
            group->setTitle(text);
    } else if (auto* list = qobject_cast<QListWidget*>(&widget)) {
        for (int i = 0; i < list->count(); ++i)
            list->item(i)->setText(CatalogueQString(tag + i, language));
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(&widget)) {
        menu->setTitle(text);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(
                   widget.parentWidget() ? widget.parentWidget()->parentWidget() : nullptr)) {
        const int index = tabs->indexOf(&widget);
        if (index >= 0)
            tabs->setTabText(index, text);
    }
}

}  // namespace

QString CatalogueQString(int number, Language language) {
    return QString::fromStdString(CatalogueText(number, language));
}

void TranslateWindow(QWidget& window, Language language) {
    if (const int tag = TagOf(window); tag != 0)
        window.setWindowTitle(WithoutAccelerator(CatalogueQString(tag, language)));
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (const int tag = TagOf(*child); tag != 0)
            TranslateWidget(*child, tag, language);
    }
    for (QAction* action : window.findChildren<QAction*>()) {
        if (const int tag = TagOf(*action); tag != 0 && !action->isSeparator())
            action->setText(CatalogueQString(tag, language));
    }
    UpdateAccessibleNames(window);
}

void UpdateAccessibleNames(QWidget& window) {
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const QString name = WithoutAccelerator(button->text());
        if (!name.isEmpty())
            button->setAccessibleName(name);
        else if (!button->toolTip().isEmpty())
            button->setAccessibleName(button->toolTip());
    }
    for (QGroupBox* group : window.findChildren<QGroupBox*>())
        group->setAccessibleName(WithoutAccelerator(group->title()));
    for (QLabel* label : window.findChildren<QLabel*>()) {
        const QString name = WithoutAccelerator(label->text());
        if (name.isEmpty())
            continue;
        label->setAccessibleName(name);
        if (QWidget* buddy = label->buddy())
            buddy->setAccessibleName(name);
    }
}

}  // namespace pc
