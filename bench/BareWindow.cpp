// SPDX-License-Identifier: MIT
// The start-up yardstick: a plain Qt window of the main window's size (564 x 371 inside a
// frame of 572 x 398), shown and closed again 100 ms later. Its start-up time and peak memory
// are what the program's own are measured against, on the same machine in the same run.

// Qt
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("OrbiloBareWindow"));
    window.setFixedSize(564, 371);
    window.show();
    QTimer::singleShot(100, &app, &QApplication::quit);
    return app.exec();
}
