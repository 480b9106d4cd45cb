#pragma once

#include "Config.h"

#include <QFrame>

class Ui_ImportLutSuccess;

// Message: user LUT files were imported.
class ImportLutSuccess : public QFrame, public Config
{
    Q_OBJECT

public:
    explicit ImportLutSuccess(QWidget *parent = nullptr);
    ~ImportLutSuccess() override;

    void translateUi() override;

private:
    Ui_ImportLutSuccess *ui;
};
