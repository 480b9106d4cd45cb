#pragma once

#include "CustomIcon.h"

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPoint>
#include <QPushButton>
#include <QRect>

// A push button that paints an icon and a text of its own over the styled
// button, each in a rectangle of its own, or one of six state pictures over
// the whole button.
class CustomPushButton : public QPushButton
{
    Q_OBJECT

public:
    enum CustomBtState : int {
        CUSTOM_BT_NORMAL = 0,
        CUSTOM_BT_PRESSED = 1,
        CUSTOM_BT_CHECKED = 2,
        CUSTOM_BT_CHECKED_PRESSED = 3,
        CUSTOM_BT_DISABLED = 4,
        CUSTOM_BT_ACTIVE = 5,
    };
    static constexpr int stateCount = 6;

    explicit CustomPushButton(QWidget *parent = nullptr);

    void setCustomBtIcon(const QString &path, int x, int y, int w, int h);
    void setCustomBtText(const QString &text, int x, int y, int w, int h, int pixelSize, int weight);
    void setCustomBtText(const QString &text, int x, int y, int w, int h, int pixelSize, int weight,
                         const QColor &color);
    void setCustomBtText(const QString &text, int x, int y, int w, int h, const QFont &font, const QColor &color);

    // Switches the state pictures on or off; a valid state becomes the current one.
    void enableCustomBtMultyState(bool on, int state);
    void setCustomBtMultyStatePixmap(CustomPushButton::CustomBtState state, const QString &path,
                                     const double &opacity);
    void setCustomBtMultyState(CustomPushButton::CustomBtState state);
    CustomBtState customBtMultyState() const { return currentState; }

    // Paints as a plain push button.
    void setCustomNormal(bool on);

    QPoint pressPosition() const { return pressPos; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    static bool isState(int state) { return state >= 0 && state < stateCount; }

    CustomIcon icon;

    QString text;
    QRect textRect;
    QFont textFont;
    // Invalid: the style's button text colour.
    QColor textColor;
    bool textOn = false;

    bool multyState = false;
    QPixmap statePixmap[stateCount];
    double stateOpacity[stateCount] = {1.0, 1.0, 1.0, 1.0, 1.0, 1.0};
    CustomBtState currentState = CUSTOM_BT_NORMAL;

    bool normal = false;
    QPoint pressPos;
};
