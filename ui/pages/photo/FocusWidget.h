#pragma once

#include "MenuPage.h"

#include <QButtonGroup>

class Ui_FocusWidget;
class FocusCtl;
class QAbstractButton;

// Focus peaking: edges above a sensitivity are painted in a chosen colour.
class FocusWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit FocusWidget(QWidget *parent = nullptr);
    ~FocusWidget() override;

    void configInit() override;
    void translateUi() override;

public slots:
    void slotFunctionClicked(int code) override;

private slots:
    void slotIsEnable();
    void slotButtonGroup(QAbstractButton *button);
    void slotValueChanged(int value);

private:
    void showValue();

    Ui_FocusWidget *ui;
    FocusCtl *focusCtl;
    QButtonGroup colourGroup;
    int sensitivity = 30;
};
