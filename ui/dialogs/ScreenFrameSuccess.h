#pragma once

#include "Config.h"

#include <QFrame>

class Ui_ScreenFrameSuccess;

// Message: a frame was captured to the stick's Image folder.
class ScreenFrameSuccess : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit ScreenFrameSuccess(QWidget *parent = nullptr);
    ~ScreenFrameSuccess() override;

    void translateUi() override;

private:
    Ui_ScreenFrameSuccess *ui;
};
