#pragma once

#include "Config.h"

#include <QFrame>

class Ui_EraseLutSuccess;

// Message: user LUT files were erased.
class EraseLutSuccess : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit EraseLutSuccess(QWidget *parent = nullptr);
    ~EraseLutSuccess() override;

    void translateUi() override;

private:
    Ui_EraseLutSuccess *ui;
};
