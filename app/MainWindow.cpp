#include "MainWindow.h"

#include "DeviceUSB.h"
#include "ui_mainwindow.h"

namespace {

constexpr int inputDetectIntervalMs = 1000;

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui_MainWindow)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_AcceptTouchEvents);
    grabGesture(Qt::PinchGesture);
    init();
    translateUi();
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::init()
{
    PLinit();
    topFrameInit();
    connect(&inputDetectTimer, &QTimer::timeout, this, &MainWindow::slotInputDetect);
    ui->McustackedWidget->hide();
    ui->poweroffLabel->hide();
    inputDetectTimer.start(inputDetectIntervalMs);
}

void MainWindow::PLinit()
{
    appConfig->findValue("inputMain", inputMain);
    appConfig->findValue("inputAssist", inputAssist);
}

void MainWindow::topFrameInit()
{
    ui->USBLabel->setText(tr("USB"));
    for (QWidget *control : {static_cast<QWidget *>(ui->USBIcon), static_cast<QWidget *>(ui->USBLabel),
                             static_cast<QWidget *>(ui->Battery0Label), static_cast<QWidget *>(ui->Battery0Value),
                             static_cast<QWidget *>(ui->Battery1Label), static_cast<QWidget *>(ui->Battery1Value),
                             static_cast<QWidget *>(ui->DCLabel)})
        control->hide();
    int channel = 0;
    appConfig->findValue("inputChannel", channel);
    ui->signalLabel->setText(QString::asprintf("CH.%02d", channel));
    ui->inputLabel->setText(inputLabelText(inputMain));
    ui->timeLabel->setText(tr("00:00:00:00"));
}

QString MainWindow::inputLabelText(const std::string &input) const
{
    if (input == "WHDI")
        return QStringLiteral("WIRELESS");
    return QString::fromStdString(input) + QStringLiteral(" IN");
}

void MainWindow::translateUi()
{
    ui->poweroffLabel->setText(tr("温度过高，系统即将关机！"));
}

void MainWindow::slotInputDetect()
{
    const bool present = DeviceUSB::isActive();
    if (present != usbPresent) {
        usbPresent = present;
        ui->USBLabel->setVisible(present);
        ui->USBIcon->setVisible(present);
    }
}
