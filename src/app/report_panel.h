#pragma once

#include "app/lab_report.h"

#include <QWidget>

#include <functional>

class QLineEdit;
class QPrinter;

// The graph window's lab report: the student's or group's name (remembered
// from one session to the next), "Save report..." to a PDF and "Print...".
class ReportPanel : public QWidget {
    Q_OBJECT

public:
    // `report` makes the report of what the window shows, without the name;
    // `labDirectory` is where the save dialog starts at first.
    ReportPanel(std::function<LabReport()> report, const QString& labDirectory, QWidget* parent);

    QString name() const;
    // Writes the report as a PDF, durably; the reason when it could not.
    QString saveReport(const QString& path) const;
    // Paints the report on a printer set up by the print dialog; false when
    // the printer could not be used.
    bool printReport(QPrinter& printer) const;

private:
    LabReport report() const;
    static QString writeReport(const QString& path, const LabReport& made);
    static bool printOn(QPrinter& printer, const LabReport& made);
    void askAndSaveReport();
    void askAndPrint();

    std::function<LabReport()> makeReport_;
    QString folder_; // where the save dialog starts: the last report's folder
    QLineEdit* name_ = nullptr;
};
