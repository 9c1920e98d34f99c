#pragma once

#include "app/lab_report.h"

class QPrinter;
class QWidget;

// Paints the report's pages on a printer, the report keeping its own
// margins; false when the printer could not be used.
bool printReportOn(QPrinter& printer, const LabReport& report);

// Asks for a printer with Qt's print dialog ("Print report") and prints the
// report on it; says so in a message box when the printer could not be used.
void askAndPrintReport(const LabReport& report, QWidget* parent);
