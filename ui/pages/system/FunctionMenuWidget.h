#pragma once

#include "MenuPage.h"

class QLabel;
class Ui_FunctionMenuWidget;

// The overview of the three front keys: each shows the name of its bound
// function and opens the function list for that key.
class FunctionMenuWidget : public MenuPage
{
    Q_OBJECT

public:
    explicit FunctionMenuWidget(QWidget *parent = nullptr);
    ~FunctionMenuWidget() override;

    void configInit() override;
    void translateUi() override;

signals:
    // The function list is to be opened for a key (0 F1, 1 F2, 2 F3).
    void signalFunctionWidget(int key);

public slots:
    // A key got another function.
    void slotFunctionSelect(int key, int code);

private:
    QLabel *nameLabel(int key) const;

    Ui_FunctionMenuWidget *ui;
    int codes[3] = {0, 0, 0};
};
