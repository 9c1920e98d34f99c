// A bare Qt window of the program's size, shown for one pass of the event loop.

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(522, 464);
    window.show();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
