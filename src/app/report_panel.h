#pragma once

#include "app/lab_report.h"

#include <QWidget>

#include <functional>

class QLineEdit;

// The graph window's lab report: the student's or group's name (remembered
// from one session to the next), "Save report..." to a PDF and "Print...".
class ReportPanel : public QWidget {
    Q_OBJECT

public:
    // `report` makes the report of what the window shows, without the name;
    // `labDirectory` is where the save dialog starts at first.
    ReportPanel(std::function<LabReport()> report, const QString& labDirectory, QWidget* parent);

    QString name() const;
    void setName(const QString& name);
    // Writes the report as a PDF, durably; the reason when it could not.
    QString saveReport(const QString& path) const;
    // The report of what the window shows, with the name.
    LabReport report() const;

private:
    static QString writeReport(const QString& path, const LabReport& made);
    void askAndSaveReport();
    void askAndPrint();

    std::function<LabReport()> makeReport_;
    QString folder_; // where the save dialog starts: the last report's folder
    QLineEdit* name_ = nullptr;
};
