// The yardstick of bench/startup.sh: the least a window like Blikon's main window costs
// to start, built from Qt alone. A main window with a menu bar of four menus, 37 tick
// boxes, a text editor and a status line, nothing else.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    for (const char* title : {"&File", "&Select", "&Code", "&Help"})
        window.menuBar()->addMenu(QLatin1String(title))->addAction(QStringLiteral("&Item"));

    auto* client = new QWidget(&window);
    client->setFixedSize(396, 270);
    window.setCentralWidget(client);
    for (int i = 0; i < 37; ++i)
        (new QCheckBox(client))->setGeometry(10 + (i % 7) * 26, 10 + (i / 7) * 24, 17, 17);
    (new QPlainTextEdit(client))->setGeometry(200, 80, 193, 169);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("A = 255 B = 255 C = 255 D = 255 E = 255")));

    window.show();
    return app.exec();
}
