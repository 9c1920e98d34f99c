#pragma once

#include "workbook/fits_sheet.h"

#include <QObject>
#include <QProgressDialog>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <string>
#include <thread>

class QWidget;

// "Save for a spreadsheet...": the box as a workbook, written on a thread of
// its own while a progress bar with Cancel shows how far it is; the window
// stays usable meanwhile. When it ends, a message says what was written, or
// why not; a cancelled workbook leaves no file.
class WorkbookExport : public QObject {
    Q_OBJECT

public:
    // The box (CR LF line breaks) as it was when the student asked, read on
    // the thread too: a million rows take a while to read.
    struct Box {
        std::string text;
        char delimiter = ',';
    };

    // Starts writing to `path`; the export deletes itself when it has ended.
    static WorkbookExport* start(QWidget* parent, Box box, SheetRows fits, const QString& path);
    ~WorkbookExport() override;

    QProgressDialog* progress() const { return progress_; }

    // How long the progress bar waits before it shows: a small box is
    // written before the student would see it.
    static constexpr int quietMilliseconds = 400;

signals:
    // The message shown: the note of what was written, or why not.
    void ended(const QString& message);

private:
    explicit WorkbookExport(QWidget* parent);
    void followThread();

    QPointer<QWidget> parent_;
    QPointer<QProgressDialog> progress_;
    QTimer poll_;
    std::atomic<double> done_{0};
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::string message_; // written by the thread before finished_
    std::thread thread_;
};

struct BoxSnapshot;

// Asks where to save the workbook (before overwriting a file), in `folder`,
// named after the data file opened when there is one; then starts writing
// the box and the fits. Nothing when the student cancels.
WorkbookExport* saveForSpreadsheet(QWidget* parent, const BoxSnapshot& box, SheetRows fits,
                                   const QString& folder);
