// Making the application object, which opens the display. Where no display
// can be opened the program ends with one line saying so and status 1,
// instead of the platform layer's abort and its advice to reinstall.
#pragma once

#include <QApplication>
#include <memory>

// argc must outlive the application (Qt keeps a reference to it).
std::unique_ptr<QApplication> openApplication(int& argc, char** argv);
