#pragma once

#include "session/session.h"

#include <QString>

#include <functional>

class QWidget;
struct LabReport;

// The parts of the window that reach devices: recording from a board or a
// phone (Qt SerialPort, Qt Network) and printing (Qt Print Support). Loading
// those libraries would cost every start of the program about a tenth of its
// time, so they live in a module, benchtabler-devices.so, loaded the first
// time one of them is asked for.
struct Devices {
    // A new record window (RecordWindow) with the signals recordingStarted(),
    // headerReady(QString), rowsArrived(QStringList) and recordingEnded(),
    // and the slot showAndRaise(). `delimiter` gives the box's delimiter.
    QWidget* (*recordWindow)(const std::function<char()>& delimiter, QWidget* parent) = nullptr;
    // What a record window made by recordWindow shows, and showing choices
    // made before (a session opened).
    RecordChoices (*recordChoices)(const QWidget* recordWindow) = nullptr;
    void (*setRecordChoices)(QWidget* recordWindow, const RecordChoices& choices) = nullptr;
    // Asks for a printer with Qt's print dialog and prints the report's pages
    // on it; a message box says when the printer could not be used.
    void (*printReport)(const LabReport& report, QWidget* parent) = nullptr;
};

// The devices, their module loaded on the first call; null with the reason
// ("the file ... is missing") when it cannot be loaded.
const Devices* devices(QString* reason);

// For programs linked with the devices themselves (tests, the bench): these
// are used and no module is loaded.
void useLinkedDevices(const Devices& linked);
