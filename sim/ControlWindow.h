#pragma once

#include "InterruptModel.h"
#include "ScenarioRunner.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;

namespace sim {

class CommandLine;
class OutputCapture;
class VirtualBoard;

// The virtual board by hand: a window beside the panel with the front keys,
// the power button, the USB stick, the inputs of both channels, the supply
// voltages, the die temperature, the MCU link's faults and a command line
// for any scenario command, above the application's log. Everything but the
// keys and the power button (which are held as long as their buttons are)
// goes through the command line in the scenario language, so the history
// shows the command each control issued and its outcome. F1 to F3 on the
// keyboard press the front keys while the panel window has the focus.
class ControlWindow : public QWidget
{
    Q_OBJECT

public:
    ControlWindow(VirtualBoard &board, CommandLine &commandLine, OutputCapture &output, ScenarioContext &context,
                  QWidget &panel);
    ~ControlWindow() override;

    // Lists a script's lines and follows its run.
    void followScript(ScenarioRunner &runner);

    // Runs a line of the language as if typed; false (with the script error
    // shown) when it is not one.
    bool issue(const QString &line);

    // The formats offered for a source ("SDI", "HDMI" or "WHDI").
    static QStringList formats(const QString &source);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct InputRow {
        QComboBox *source = nullptr;
        QComboBox *format = nullptr;
        QCheckBox *signal = nullptr;
    };

    QWidget *createKeys();
    QWidget *createInputs();
    QWidget *createSupply();
    QWidget *createCommandLine();
    void addInputRow(QGridLayout *grid, int row, const QString &channel);
    // Sends the row's picture, or takes it away, as its controls say.
    void applySignal(int channel);
    void selectSource(int channel);
    void reflect(const QStringList &words);
    void holdKey(InterruptModel::Key key, bool down);
    void appendLog(const QString &line);
    void scriptProgress(int number, int status, const QString &message);

    VirtualBoard &board;
    CommandLine &commandLine;
    OutputCapture &output;
    ScenarioContext &context;
    QPointer<QWidget> panel;
    InputRow inputs[2];
    QCheckBox *sdiCable = nullptr;
    QDoubleSpinBox *volts[3] = {nullptr, nullptr, nullptr};
    QSpinBox *temperature = nullptr;
    QCheckBox *mcuSilent = nullptr;
    QSpinBox *mcuNoise = nullptr;
    QLineEdit *line = nullptr;
    QLabel *lineError = nullptr;
    QPlainTextEdit *history = nullptr;
    QListWidget *script = nullptr;
    QPlainTextEdit *log = nullptr;
    bool keyDown[3] = {false, false, false};
};

} // namespace sim
