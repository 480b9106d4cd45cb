#pragma once

#include "Config.h"

#include <QFrame>

class Ui_LutContrast;

// Message: lUT compare needs a LUT switched on with a valid file loaded.
class LutContrast : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit LutContrast(QWidget *parent = nullptr);
    ~LutContrast() override;

    void translateUi() override;

private:
    Ui_LutContrast *ui;
};
