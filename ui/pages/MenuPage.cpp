#include "MenuPage.h"

#include "KeyCtl.h"

#include <QHideEvent>
#include <algorithm>

MenuPage::MenuPage(QWidget *parent) : QFrame(parent) {}

void MenuPage::slotFunctionClicked(int) {}

void MenuPage::hideEvent(QHideEvent *event)
{
    configSave(false);
    QFrame::hideEvent(event);
}

void MenuPage::connectFunctionKey()
{
    connect(KeyCtl::getInstance(), &KeyCtl::clicked, this, &MenuPage::slotFunctionClicked);
}

bool MenuPage::readBool(const char *key, bool fallback) const
{
    bool value = fallback;
    appConfig->findValue(key, value);
    return value;
}

int MenuPage::readInt(const char *key, int fallback, int min, int max) const
{
    int value = fallback;
    appConfig->findValue(key, value);
    return std::clamp(value, min, max);
}

std::string MenuPage::readChoice(const char *key, const std::string &fallback,
                                 std::initializer_list<const char *> choices) const
{
    std::string value;
    if (!appConfig->findValue(key, value))
        return fallback;
    for (const char *choice : choices)
        if (value == choice)
            return value;
    return fallback;
}

QString MenuPage::percentText(int percent)
{
    return QString::asprintf("%d%%", percent);
}

void MenuPage::setShown(std::initializer_list<QWidget *> widgets, bool on)
{
    for (QWidget *widget : widgets) {
        if (widget->isVisibleTo(widget->parentWidget()) != on)
            widget->setVisible(on);
    }
}
