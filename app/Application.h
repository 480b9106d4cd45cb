#pragma once

#include <functional>

class MainWindow;
class QApplication;

// The monitor's style sheet, compiled into the application, set on it.
void applyStyleSheet(QApplication &application);

// The start-up sequence, the same on the device and on the virtual board: the
// application object, the settings, the style sheet, the main window, then the
// event loop. beforeLoop runs once the window is shown (the simulator attaches
// its scenario runner there). Returns the event loop's exit code.
int runApplication(int &argc, char **argv, const std::function<void(MainWindow &)> &beforeLoop = {});
