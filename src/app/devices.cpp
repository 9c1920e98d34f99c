#include "app/devices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

#include <optional>

namespace {

std::optional<Devices> loaded;

// Where the module may be: installed in the program's library folder (where
// it was installed, or the same folder relative to the program when the
// installed tree was moved), or beside the program or one folder up in a
// build tree (the tests' programs stand in build/tests).
QStringList moduleCandidates()
{
    const QString name = QStringLiteral("/benchtabler-devices.so");
    const QString here = QCoreApplication::applicationDirPath();
    return {QStringLiteral(BENCHTABLER_MODULE_DIR) + name,
            here + QStringLiteral("/../" BENCHTABLER_MODULE_RELATIVE_DIR) + name, here + name,
            here + QStringLiteral("/..") + name};
}

} // namespace

const Devices* devices(QString* reason)
{
    if (loaded)
        return &*loaded;
    QString tried;
    for (const QString& path : moduleCandidates()) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary module(path);
        using Entry = const Devices* (*)();
        const auto entry = reinterpret_cast<Entry>(module.resolve("benchtablerDevices"));
        if (entry && entry()) {
            loaded = *entry();
            return &*loaded;
        }
        tried = module.errorString();
    }
    if (reason)
        *reason = tried.isEmpty() ? QStringLiteral("the file %1 is missing")
                                        .arg(moduleCandidates().constFirst())
                                  : tried;
    return nullptr;
}

void useLinkedDevices(const Devices& linked) { loaded = linked; }
