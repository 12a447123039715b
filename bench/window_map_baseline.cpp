// The yardstick of the window's start: a bare Qt main window with a tab widget of three
// pages, mapped and left running, as bench/window_map_bench.py starts the program itself.
#include <QApplication>
#include <QMainWindow>
#include <QTabWidget>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("baseline"));
    auto* tabs = new QTabWidget(&window);
    for (const char* name : {"Data Input", "Table of Results", "Planner"})
        tabs->addTab(new QWidget(tabs), QString::fromLatin1(name));
    window.setCentralWidget(tabs);
    window.resize(792, 450);
    window.show();
    return QApplication::exec();
}
