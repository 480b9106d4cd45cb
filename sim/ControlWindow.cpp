#include "ControlWindow.h"

#include "AppConfig.h"
#include "CommandLine.h"
#include "OutputCapture.h"
#include "VirtualBoard.h"
#include "ZqEventFilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWindow>

namespace sim {

namespace {

const char *const channelNames[2] = {"main", "assist"};
const char *const keyNames[3] = {"F1", "F2", "F3"};

// The history's marks: a line issued, its outcome.
const QString issuedMark = QStringLiteral("> ");
const QString passedMark = QStringLiteral("  ok");
const QString failedMark = QStringLiteral("  failed: ");
const QString errorMark = QStringLiteral("  error: ");

QString outcomeText(const Outcome &outcome)
{
    switch (outcome.status) {
    case Outcome::Passed:
        return passedMark;
    case Outcome::Failed:
        return failedMark + QString::fromStdString(outcome.message);
    default:
        return errorMark + QString::fromStdString(outcome.message);
    }
}

QPushButton *button(const QString &text, const QString &name)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

// The panel's style sheet is the application's and made for a touch screen;
// this window is a desktop tool and sets its own, which wins where both
// speak.
const char *const controlStyle = R"(
QWidget { background: #1E2228; color: #E8ECF0; font-size: 13px; }
QGroupBox { border: 1px solid #3A4048; border-radius: 4px; margin-top: 14px; padding: 6px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; color: #2D9CFF; }
QPushButton { min-height: 0; padding: 5px 12px; background: #2C313A; border: 1px solid #5A6270;
              border-radius: 4px; }
QPushButton:pressed { background: #2D9CFF; }
QLineEdit, QPlainTextEdit, QListWidget, QComboBox, QSpinBox, QDoubleSpinBox {
    background: #101317; border: 1px solid #3A4048; border-radius: 3px; padding: 2px 4px;
    font-size: 13px; }
QComboBox QAbstractItemView { background: #101317; selection-background-color: #2D9CFF; }
QListWidget::item { min-height: 0; border: none; }
QListWidget::item:selected { background: #24405C; }
QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid #8A94A3; border-radius: 2px;
                       background: #101317; }
QCheckBox::indicator:checked { background: #2D9CFF; border-color: #2D9CFF; }
QAbstractSpinBox::up-button, QAbstractSpinBox::down-button { width: 16px; background: #2C313A;
                                                             border-left: 1px solid #3A4048; }
QAbstractSpinBox::up-button:pressed, QAbstractSpinBox::down-button:pressed { background: #2D9CFF; }
QScrollBar:vertical { width: 10px; }
)";

} // namespace

ControlWindow::ControlWindow(VirtualBoard &board, CommandLine &commandLine, OutputCapture &output,
                             ScenarioContext &context, QWidget &panel)
    : board(board), commandLine(commandLine), output(output), context(context), panel(&panel)
{
    setObjectName(QStringLiteral("controlWindow"));
    setWindowTitle(QStringLiteral("Virtual board"));
    // The panel's touch gate does not apply here, and closing this window
    // alone does not end the application: closeEvent does.
    ZqEventFilter::exemptWindow(*this);
    setAttribute(Qt::WA_QuitOnClose, false);
    setStyleSheet(QString::fromLatin1(controlStyle));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createKeys());
    layout->addWidget(createInputs());
    layout->addWidget(createSupply());
    layout->addWidget(createCommandLine(), 1);
    resize(620, 1040);

    // Where the panel window is, so that both are in view.
    const QRect frame = panel.frameGeometry();
    move(frame.right() + 8, frame.top());

    qApp->installEventFilter(this);
    QPointer<ControlWindow> self(this);
    ScenarioContext *ui = &context;
    output.setListener([self, ui](const std::string &text) {
        const QString line = QString::fromStdString(text);
        ui->post([self, line] {
            if (self)
                self->appendLog(line);
        });
    });
}

ControlWindow::~ControlWindow()
{
    output.setListener({});
    qApp->removeEventFilter(this);
    for (int key = 0; key < 3; ++key)
        holdKey(static_cast<InterruptModel::Key>(key), false);
}

QWidget *ControlWindow::createKeys()
{
    auto *box = new QGroupBox(QStringLiteral("Front keys, power button and USB stick"));
    auto *row = new QHBoxLayout(box);
    for (int key = 0; key < 3; ++key) {
        QPushButton *keyButton = button(keyNames[key], QStringLiteral("key") + keyNames[key]);
        keyButton->setToolTip(QStringLiteral("Held as long as the button is (or %1 on the panel window)")
                                  .arg(keyNames[key]));
        const auto which = static_cast<InterruptModel::Key>(key);
        connect(keyButton, &QPushButton::pressed, this, [this, which] { holdKey(which, true); });
        connect(keyButton, &QPushButton::released, this, [this, which] { holdKey(which, false); });
        row->addWidget(keyButton);
    }
    row->addSpacing(12);
    QPushButton *power = button(QStringLiteral("Power"), QStringLiteral("powerButton"));
    power->setToolTip(QStringLiteral("The power button, held as long as this one is"));
    connect(power, &QPushButton::pressed, this, [this] { this->board.platform().pressButton(); });
    connect(power, &QPushButton::released, this, [this] { this->board.platform().releaseButton(); });
    row->addWidget(power);
    row->addSpacing(12);
    QPushButton *insert = button(QStringLiteral("USB in"), QStringLiteral("usbInsert"));
    QPushButton *remove = button(QStringLiteral("USB out"), QStringLiteral("usbRemove"));
    connect(insert, &QPushButton::clicked, this, [this] { issue(QStringLiteral("usb insert")); });
    connect(remove, &QPushButton::clicked, this, [this] { issue(QStringLiteral("usb remove")); });
    row->addWidget(insert);
    row->addWidget(remove);
    return box;
}

QStringList ControlWindow::formats(const QString &source)
{
    if (source == QLatin1String("SDI"))
        return {"1920x1080 50i",   "1920x1080 59.94i", "1920x1080 60i",   "1920x1080 23.98p", "1920x1080 24p",
                "1920x1080 25p",   "1920x1080 29.97p", "1920x1080 30p",   "1920x1080 50p",    "1920x1080 59.94p",
                "1920x1080 60p",   "1920x1080 24psf",  "1920x1080 25psf", "1280x720 50p",     "1280x720 59.94p",
                "1280x720 60p",    "720x576 50i",      "720x486 59.94i",  "2048x1080 24p",    "3840x2160 24p",
                "3840x2160 25p",   "3840x2160 30p",    "4096x2160 24p"};
    if (source == QLatin1String("HDMI"))
        return {"1920x1080 60p", "1920x1080 59.94p", "1920x1080 50p", "1920x1080 30p", "1920x1080 25p",
                "1920x1080 24p", "1920x1080 60i",    "1920x1080 50i", "1280x720 60p",  "1280x720 50p",
                "720x576 50i",   "3840x2160 24p",    "3840x2160 25p", "3840x2160 30p", "3840x2160 50p",
                "3840x2160 60p"};
    if (source == QLatin1String("WHDI"))
        return {"1920x1080 60p", "1920x1080 59.94p", "1920x1080 50p",    "1920x1080 30p",  "1920x1080 25p",
                "1920x1080 24p", "1920x1080 60i",    "1920x1080 59.94i", "1920x1080 50i",  "1280x720 60p",
                "1280x720 59.94p", "1280x720 50p"};
    return {};
}

QWidget *ControlWindow::createInputs()
{
    auto *box = new QGroupBox(QStringLiteral("Inputs"));
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("Source")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Picture")), 0, 2);
    addInputRow(grid, 1, QStringLiteral("Main"));
    addInputRow(grid, 2, QStringLiteral("Assist"));
    sdiCable = new QCheckBox(QStringLiteral("SDI cable in"));
    sdiCable->setObjectName(QStringLiteral("sdiCable"));
    sdiCable->setChecked(true);
    connect(sdiCable, &QCheckBox::toggled, this, [this](bool in) {
        issue(in ? QStringLiteral("sdi cable in") : QStringLiteral("sdi cable out"));
    });
    grid->addWidget(sdiCable, 3, 1, 1, 3);
    grid->setColumnStretch(2, 1);
    return box;
}

void ControlWindow::addInputRow(QGridLayout *grid, int row, const QString &channel)
{
    const int index = row - 1;
    InputRow &input = inputs[index];
    const QString prefix = QString::fromLatin1(channelNames[index]);
    grid->addWidget(new QLabel(channel), row, 0);
    input.source = new QComboBox;
    input.source->setObjectName(prefix + QStringLiteral("Source"));
    input.source->addItems({QStringLiteral("SDI"), QStringLiteral("HDMI"), QStringLiteral("WHDI")});
    // The application's own choice, as it starts with it.
    std::string current;
    if (AppConfig::getInstance()->findValue(index == 0 ? "inputMain" : "inputAssist", current)) {
        const int found = input.source->findText(QString::fromStdString(current));
        if (found >= 0)
            input.source->setCurrentIndex(found);
    }
    input.format = new QComboBox;
    input.format->setObjectName(prefix + QStringLiteral("Format"));
    input.format->addItems(formats(input.source->currentText()));
    input.signal = new QCheckBox(QStringLiteral("signal"));
    input.signal->setObjectName(prefix + QStringLiteral("Signal"));
    input.signal->setToolTip(QStringLiteral("Untick: the signal is lost (SDI off, HDMI unlocked, wireless link lost)"));
    grid->addWidget(input.source, row, 1);
    grid->addWidget(input.format, row, 2);
    grid->addWidget(input.signal, row, 3);
    connect(input.source, &QComboBox::currentTextChanged, this, [this, index] { selectSource(index); });
    connect(input.format, &QComboBox::currentTextChanged, this, [this, index] {
        if (inputs[index].signal->isChecked())
            applySignal(index);
    });
    connect(input.signal, &QCheckBox::toggled, this, [this, index] { applySignal(index); });
}

void ControlWindow::selectSource(int channel)
{
    InputRow &input = inputs[channel];
    const QString source = input.source->currentText();
    issue(QStringLiteral("input %1 %2").arg(QLatin1String(channelNames[channel]), source));
    {
        const QSignalBlocker blocker(input.format);
        input.format->clear();
        input.format->addItems(formats(source));
    }
    if (input.signal->isChecked())
        applySignal(channel);
}

void ControlWindow::applySignal(int channel)
{
    const InputRow &input = inputs[channel];
    const QString source = input.source->currentText();
    const QString format = input.format->currentText();
    const QString number = QString::number(channel);
    if (!input.signal->isChecked()) {
        if (source == QLatin1String("SDI"))
            issue(QStringLiteral("sdi off"));
        else if (source == QLatin1String("HDMI"))
            issue(QStringLiteral("hdmi %1 off").arg(number));
        else
            issue(QStringLiteral("whdi lost"));
        return;
    }
    if (source == QLatin1String("SDI")) {
        issue(QStringLiteral("sdi ") + format);
    } else if (source == QLatin1String("HDMI")) {
        issue(QStringLiteral("hdmi %1 %2").arg(number, format));
    } else {
        issue(QStringLiteral("whdi back"));
        issue(QStringLiteral("whdi %1 %2").arg(number, format));
    }
}

QWidget *ControlWindow::createSupply()
{
    auto *box = new QGroupBox(QStringLiteral("Supply, temperature and MCU link"));
    auto *grid = new QGridLayout(box);
    const char *const names[3] = {"dcVolts", "batteryAVolts", "batteryBVolts"};
    const char *const labels[3] = {"DC in", "Battery A", "Battery B"};
    const double initial[3] = {12.0, 7.4, 7.4};
    for (int i = 0; i < 3; ++i) {
        volts[i] = new QDoubleSpinBox;
        volts[i]->setObjectName(QString::fromLatin1(names[i]));
        volts[i]->setRange(0, 30);
        volts[i]->setDecimals(1);
        volts[i]->setSingleStep(0.1);
        volts[i]->setSuffix(QStringLiteral(" V"));
        volts[i]->setValue(initial[i]);
        grid->addWidget(new QLabel(QString::fromLatin1(labels[i])), 0, i);
        grid->addWidget(volts[i], 1, i);
    }
    QPushButton *send = button(QStringLiteral("Report"), QStringLiteral("powerReport"));
    send->setToolTip(QStringLiteral("The MCU reports these voltages"));
    connect(send, &QPushButton::clicked, this, [this] {
        issue(QStringLiteral("mcu power %1 %2 %3")
                  .arg(volts[0]->value(), 0, 'f', 1)
                  .arg(volts[1]->value(), 0, 'f', 1)
                  .arg(volts[2]->value(), 0, 'f', 1));
    });
    grid->addWidget(send, 1, 3);

    temperature = new QSpinBox;
    temperature->setObjectName(QStringLiteral("dieTemperature"));
    temperature->setRange(-40, 125);
    temperature->setValue(45);
    temperature->setSuffix(QStringLiteral(" °C"));
    QPushButton *setTemperature = button(QStringLiteral("Set"), QStringLiteral("temperatureSet"));
    connect(setTemperature, &QPushButton::clicked, this,
            [this] { issue(QStringLiteral("temp %1").arg(temperature->value())); });
    grid->addWidget(new QLabel(QStringLiteral("Die temperature")), 2, 0);
    grid->addWidget(temperature, 2, 1);
    grid->addWidget(setTemperature, 2, 3);

    mcuSilent = new QCheckBox(QStringLiteral("MCU silent"));
    mcuSilent->setObjectName(QStringLiteral("mcuSilent"));
    connect(mcuSilent, &QCheckBox::toggled, this,
            [this](bool on) { issue(on ? QStringLiteral("mcu silent on") : QStringLiteral("mcu silent off")); });
    mcuNoise = new QSpinBox;
    mcuNoise->setObjectName(QStringLiteral("mcuNoise"));
    mcuNoise->setRange(0, 100);
    mcuNoise->setSuffix(QStringLiteral(" % noise"));
    QPushButton *setNoise = button(QStringLiteral("Set"), QStringLiteral("noiseSet"));
    connect(setNoise, &QPushButton::clicked, this,
            [this] { issue(QStringLiteral("mcu noise %1").arg(mcuNoise->value())); });
    grid->addWidget(mcuSilent, 3, 0);
    grid->addWidget(mcuNoise, 3, 1);
    grid->addWidget(setNoise, 3, 3);
    return box;
}

QWidget *ControlWindow::createCommandLine()
{
    auto *box = new QGroupBox(QStringLiteral("Command line (the scenario language; fieldmon-sim --help lists it)"));
    auto *column = new QVBoxLayout(box);
    line = new QLineEdit;
    line->setObjectName(QStringLiteral("commandLine"));
    line->setPlaceholderText(QStringLiteral("e.g. sdi 1920x1080 50i, key F2 hold 3000, expect visible USBLabel true"));
    lineError = new QLabel;
    lineError->setObjectName(QStringLiteral("commandError"));
    lineError->setStyleSheet(QStringLiteral("color: #c0392b"));
    lineError->setWordWrap(true);
    lineError->hide();
    history = new QPlainTextEdit;
    history->setObjectName(QStringLiteral("commandHistory"));
    history->setReadOnly(true);
    history->setMaximumBlockCount(2000);
    script = new QListWidget;
    script->setObjectName(QStringLiteral("scriptLines"));
    script->hide();
    log = new QPlainTextEdit;
    log->setObjectName(QStringLiteral("applicationLog"));
    log->setReadOnly(true);
    log->setMaximumBlockCount(10000);
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed(QStringLiteral("monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    for (QWidget *text : {static_cast<QWidget *>(history), static_cast<QWidget *>(log)})
        text->setFont(fixed);
    connect(line, &QLineEdit::returnPressed, this, [this] {
        if (issue(line->text()))
            line->clear();
    });
    column->addWidget(line);
    column->addWidget(lineError);
    column->addWidget(history, 1);
    column->addWidget(script, 1);
    column->addWidget(new QLabel(QStringLiteral("Application log")));
    column->addWidget(log, 3);
    return box;
}

bool ControlWindow::issue(const QString &text)
{
    const std::string command = text.trimmed().toStdString();
    QPointer<ControlWindow> self(this);
    const QString issued = issuedMark + text.trimmed();
    const std::string problem = commandLine.submit(command, [self](const Outcome &outcome) {
        if (self)
            self->history->appendPlainText(outcomeText(outcome));
    });
    if (!problem.empty()) {
        lineError->setText(QString::fromStdString(problem));
        lineError->show();
        return false;
    }
    lineError->hide();
    history->appendPlainText(issued);
    reflect(text.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts));
    return true;
}

void ControlWindow::reflect(const QStringList &words)
{
    // A typed "input" or "sdi cable" shows in the controls it stands for.
    if (words.size() == 3 && words[0] == QLatin1String("input")) {
        const int channel = words[1] == QLatin1String("main") ? 0 : 1;
        InputRow &input = inputs[channel];
        if (input.source->currentText() != words[2]) {
            const QSignalBlocker blocker(input.source);
            input.source->setCurrentText(words[2]);
            const QSignalBlocker formatBlocker(input.format);
            input.format->clear();
            input.format->addItems(formats(words[2]));
        }
    } else if (words.size() == 3 && words[0] == QLatin1String("sdi") && words[1] == QLatin1String("cable")) {
        const QSignalBlocker blocker(sdiCable);
        sdiCable->setChecked(words[2] == QLatin1String("in"));
    }
}

void ControlWindow::followScript(ScenarioRunner &runner)
{
    for (const auto &entry : runner.scriptLines())
        script->addItem(QStringLiteral("%1: %2").arg(entry.first).arg(QString::fromStdString(entry.second)));
    script->show();
    QPointer<ControlWindow> self(this);
    ScenarioContext *ui = &context;
    runner.onLine([self, ui](int number, const Outcome *outcome) {
        const int status = outcome == nullptr ? -1 : outcome->status;
        const QString message = outcome == nullptr ? QString() : QString::fromStdString(outcome->message);
        ui->post([self, number, status, message] {
            if (self)
                self->scriptProgress(number, status, message);
        });
    });
}

void ControlWindow::scriptProgress(int number, int status, const QString &message)
{
    const QString prefix = QString::number(number) + QLatin1Char(':');
    for (int row = 0; row < script->count(); ++row) {
        QListWidgetItem *item = script->item(row);
        if (!item->text().startsWith(prefix))
            continue;
        if (status < 0) {
            script->setCurrentRow(row);
            script->scrollToItem(item);
        } else if (status == Outcome::Passed) {
            item->setForeground(QColor(0x2e, 0x8b, 0x57));
        } else {
            item->setForeground(QColor(0xc0, 0x39, 0x2b));
            item->setText(item->text() + QStringLiteral("   <- ") + message);
        }
        return;
    }
}

void ControlWindow::appendLog(const QString &text)
{
    static const QRegularExpression colours(QStringLiteral("\x1b\\[[0-9;]*m"));
    QString plain = text;
    log->appendPlainText(plain.remove(colours));
}

void ControlWindow::holdKey(InterruptModel::Key key, bool down)
{
    if (keyDown[key] == down)
        return;
    keyDown[key] = down;
    if (down)
        board.interrupts().press(key);
    else
        board.interrupts().release(key);
}

bool ControlWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    if (panel.isNull())
        return false;
    // Key events reach the panel's native window first, then its focus widget.
    const bool onPanel = watched == panel->windowHandle()
                         || (watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == panel);
    if (!onPanel)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    const int key = keyEvent->key() - Qt::Key_F1;
    if (key < 0 || key > 2)
        return false;
    // A held key repeats: it stays down until the last release.
    if (!keyEvent->isAutoRepeat())
        holdKey(static_cast<InterruptModel::Key>(key), event->type() == QEvent::KeyPress);
    return true;
}

void ControlWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    QCoreApplication::quit();
}

} // namespace sim
