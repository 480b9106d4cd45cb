#pragma once

#include "MenuPage.h"

#include <QButtonGroup>

class Ui_SingleColorWidget;
class VideoOption;
class QAbstractButton;

// Single-colour view: the screen shows one colour channel, or grey.
class SingleColorWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit SingleColorWidget(QWidget *parent = nullptr);
    ~SingleColorWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalSingleColorEnable();

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotButtonGroup(QAbstractButton *button);

private:
    Ui_SingleColorWidget *ui;
    VideoOption *videoOption;
    QButtonGroup colourGroup;
};
