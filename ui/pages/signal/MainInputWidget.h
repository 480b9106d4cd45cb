#pragma once

#include "MenuPage.h"

#include <string>

class QAbstractButton;
class QButtonGroup;
class Ui_MainInputWidget;
class MainChannelCtl;

// The main picture's input: SDI, HDMI or wireless. Also swaps the main and
// assist inputs (front key "A<->B") and resets the main channel.
class MainInputWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit MainInputWidget(QWidget *parent = nullptr);
    ~MainInputWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    void signalMainInput(const std::string &name);
    void signalAssistInput(const std::string &name);

public slots:
    void slotSwapMainAndAssistSrc();

private slots:
    void slotButtonGroup(QAbstractButton *button);
    void slotMainpllReset();

private:
    void showInput();

    Ui_MainInputWidget *ui;
    QButtonGroup *inputGroup;
    MainChannelCtl *mainChannelCtl;
    std::string input = "WHDI";
};
