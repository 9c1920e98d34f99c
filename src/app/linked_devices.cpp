#include "app/linked_devices.h"

#include "app/record_window.h"
#include "app/report_printing.h"

Devices linkedDevices()
{
    Devices devices;
    devices.recordWindow = [](const std::function<char()>& delimiter,
                              QWidget* parent) -> QWidget* {
        return new RecordWindow(delimiter, parent);
    };
    devices.printReport = &askAndPrintReport;
    return devices;
}
