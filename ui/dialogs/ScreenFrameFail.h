#pragma once

#include "Config.h"

#include <QFrame>

class Ui_ScreenFrameFail;

// Message: a frame capture failed: no stick to write it to.
class ScreenFrameFail : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit ScreenFrameFail(QWidget *parent = nullptr);
    ~ScreenFrameFail() override;

    void translateUi() override;

private:
    Ui_ScreenFrameFail *ui;
};
