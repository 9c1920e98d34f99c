// A bare Qt window of the program's size holding one text box where the
// program's box stands, with the start-up text, shown for one pass of the
// event loop: the start every window with a text box costs (Qt's font
// database and a font engine), against which the program's own start counts.

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(522, 464);
    auto* box = new QPlainTextEdit(&window);
    box->setGeometry(24, 8, 329, 401);
    box->setPlainText(QStringLiteral("Enter Data Here"));
    window.show();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
