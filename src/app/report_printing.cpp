#include "app/report_printing.h"

#include "app/dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

bool printReportOn(QPrinter& printer, const LabReport& report)
{
    printer.setFullPage(true);
    printer.setResolution(72);
    return paintReport(printer, report);
}

void askAndPrintReport(const LabReport& report, QWidget* parent)
{
    QPrinter printer;
    printer.setPageSize(localPaper());
    printer.setDocName(report.title);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print report"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer.setFullPage(true);
    printer.setResolution(72);
    const int pages = reportPages(printer, report);
    if (pages > pagesPrintedWithoutAsking &&
        !askYesNo(parent, QStringLiteral("The report has %1 pages. Print all of them?").arg(pages)))
        return;
    if (!printReportOn(printer, report))
        showMessageBox(parent, QStringLiteral("could not print: the printer could not be used"));
}
