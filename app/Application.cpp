#include "Application.h"

#include "AppConfig.h"
#include "Console.h"
#include "FanCtrl.h"
#include "MainWindow.h"
#include "OsdCtl.h"
#include "PolishOnShow.h"
#include "PowerCtl.h"
#include "ReadFifo.h"
#include "UartAPI.h"
#include "ZqEventFilter.h"

#include <QApplication>
#include <QFile>
#include <QThread>
#include <chrono>

void applyStyleSheet(QApplication &application)
{
    QFile styleSheet(QStringLiteral(":/Qss/zqmo.qss"));
    if (styleSheet.open(QIODevice::ReadOnly))
        application.setStyleSheet(QString::fromUtf8(styleSheet.readAll()));
}

int runApplication(int &argc, char **argv, const std::function<void(MainWindow &)> &beforeLoop)
{
    const auto started = std::chrono::steady_clock::now();
    // Qt takes the first thread that touches it for its main thread; the
    // controllers started below run threads of their own, so this one makes
    // itself known first, and the application object is created on it.
    QThread::currentThread();
    PowerCtl::getInstance();
    FanCtrl::getInstance();
    QApplication application(argc, argv);
    OsdCtl::getInstance()->init();
    AppConfig::getInstance()->init("config.ini");
    applyStyleSheet(application);

    application.installEventFilter(new PolishOnShow(&application));
    auto *eventFilter = new ZqEventFilter(&application);
    application.installEventFilter(eventFilter);
    MainWindow window;
    window.setEventFilterHandle(eventFilter);
    UartInit();
    FifoInit();
    window.show();

    const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    console::print("start app used time:%ld us\n", static_cast<long>(elapsed.count()));

    if (beforeLoop)
        beforeLoop(window);
    return application.exec();
}
