// The entry point of benchtabler-devices.so, which the program resolves by
// name when it first needs to record or to print.

#include "app/linked_devices.h"

extern "C" Q_DECL_EXPORT const Devices* benchtablerDevices()
{
    static const Devices devices = linkedDevices();
    return &devices;
}
