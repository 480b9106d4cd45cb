#include "PhotoChoices.h"
#include "CustomIcon.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QPainter>
#include <QPixmap>

namespace photo {

namespace {

constexpr int overlayAlpha = 250;
constexpr int swatchSize = 40;

} // namespace

const char *const lineNames[3] = {"small", "middle", "large"};

QColor overlayColour(int index)
{
    static const QColor colours[lastColour] = {
        QColor(255, 0, 0, overlayAlpha),   QColor(44, 255, 0, overlayAlpha),  QColor(24, 0, 255, overlayAlpha),
        QColor(255, 255, 0, overlayAlpha), QColor(0, 255, 255, overlayAlpha), QColor(242, 0, 255, overlayAlpha),
        QColor(255, 217, 230, overlayAlpha)};
    return colours[colourIndex(index) - firstColour];
}

QIcon swatchIcon(const QColor &colour)
{
    QPixmap pixmap(swatchSize, swatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xE8, 0xEC, 0xF0), 2));
    painter.setBrush(QColor(colour.red(), colour.green(), colour.blue()));
    painter.drawEllipse(QRectF(1, 1, swatchSize - 2, swatchSize - 2));
    return QIcon(pixmap);
}

int colourIndex(int stored)
{
    return stored >= firstColour && stored <= lastColour ? stored : firstColour;
}

int lineId(const std::string &name)
{
    for (int id = 0; id < 3; ++id)
        if (name == lineNames[id])
            return id;
    return 1;
}

QIcon lineIcon(int id)
{
    static const char *const icons[3] = {":/png/photo/lineSmall.png", ":/png/photo/lineMiddle.png",
                                         ":/png/photo/lineLarge.png"};
    return QIcon(CustomIcon::read(QString::fromLatin1(icons[id >= 0 && id < 3 ? id : 1])));
}

void addChoices(QButtonGroup &group, std::initializer_list<QAbstractButton *> buttons, int firstId)
{
    group.setExclusive(true);
    int id = firstId;
    for (QAbstractButton *button : buttons) {
        button->setCheckable(true);
        group.addButton(button, id++);
    }
}

void checkChoice(const QButtonGroup &group, int id)
{
    if (QAbstractButton *button = group.button(id))
        button->setChecked(true);
}

} // namespace photo
