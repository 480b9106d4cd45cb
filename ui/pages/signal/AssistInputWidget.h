#pragma once

#include "AssistChannelCtl.h"
#include "MenuPage.h"

#include <string>

class QAbstractButton;
class QButtonGroup;
class Ui_AssistInputWidget;
class VideoOption;

// The assist picture: picture-in-picture on or off, its input, and where it
// goes (a corner window or half of the screen beside the main picture).
class AssistInputWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit AssistInputWidget(QWidget *parent = nullptr);
    ~AssistInputWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalAssistInput(const std::string &name);

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotButtonGroup(QAbstractButton *button);
    void slotLayoutGroup(QAbstractButton *button);
    // The video state switched picture-in-picture (a competing mode took over).
    void slotPicEnable(bool on);

private:
    void showInput();

    Ui_AssistInputWidget *ui;
    QButtonGroup *inputGroup;
    QButtonGroup *layoutGroup;
    VideoOption *videoOption;
    std::string input = "WHDI";
};
