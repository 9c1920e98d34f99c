#include "app/lab_directory.h"

#include <QDir>

QString toQString(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

std::filesystem::path toPath(const QString& path) { return path.toStdU16String(); }

std::filesystem::path labDirectory()
{
#ifdef Q_OS_WIN
    return std::filesystem::path(L"C:\\labfiles");
#else
    return std::filesystem::path(QDir::homePath().toStdString()) / "labfiles";
#endif
}
