// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of a first frame (tools/bench-start): a bare Qt main window with a menu bar, started
// and reported as duoskop and duoskop-kartei are (desktop/first_frame.h).
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#include "desktop/first_frame.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"Datei", "Bearbeiten", "Extras", "Hilfe"}) window.menuBar()->addMenu(QString::fromLatin1(title));
    window.resize(640, 480);
    duoskop::report_first_frame(&window);
    window.show();
    return QApplication::exec();
}
