#include "app/lab_directory.h"

#include <QDir>

std::filesystem::path labDirectory()
{
#ifdef Q_OS_WIN
    return std::filesystem::path(L"C:\\labfiles");
#else
    return std::filesystem::path(QDir::homePath().toStdString()) / "labfiles";
#endif
}
