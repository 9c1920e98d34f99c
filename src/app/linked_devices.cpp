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
    devices.recordChoices = [](const QWidget* window) {
        return static_cast<const RecordWindow*>(window)->choices();
    };
    devices.setRecordChoices = [](QWidget* window, const RecordChoices& choices) {
        static_cast<RecordWindow*>(window)->setChoices(choices);
    };
    devices.printReport = &askAndPrintReport;
    return devices;
}
