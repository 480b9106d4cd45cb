#pragma once

#include "MenuPage.h"

#include <QButtonGroup>

class Ui_WarpWidget;
class VideoOption;
class QAbstractButton;

// Anamorphic de-squeeze: the picture is shown at its height divided by the
// lens's squeeze factor.
class WarpWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit WarpWidget(QWidget *parent = nullptr);
    ~WarpWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotButtonGroup(QAbstractButton *button);
    // De-squeeze went on or off in the video state, here or through a mode
    // that excludes it.
    void slotWarpFollow(bool on);

private:
    Ui_WarpWidget *ui;
    VideoOption *videoOption;
    QButtonGroup rateGroup;
    // While the stored values are pushed, the video state's echo is not news.
    bool pushing = false;
};
