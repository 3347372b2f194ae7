// The smallest Qt Widgets program with a window: the start-up time no Qt program can beat.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(381, 532);
    window.show();
    return QApplication::exec();
}
