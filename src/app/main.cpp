#include "app/form1.h"
#include "app/lab_directory.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    Form1 window(labDirectory());
    window.show();
    return application.exec();
}
