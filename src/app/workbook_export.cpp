#include "app/workbook_export.h"

#include "app/dialogs.h"
#include "app/graph_window.h"
#include "app/lab_directory.h"
#include "workbook/workbook_file.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QWidget>

#include <filesystem>

namespace {

// How often the window looks at how far the thread is.
constexpr int pollMilliseconds = 50;
constexpr int progressSteps = 1000;

} // namespace

WorkbookExport::WorkbookExport(QWidget* parent) : QObject(parent), parent_(parent)
{
    progress_ = new QProgressDialog(QStringLiteral("Saving for a spreadsheet..."),
                                    QStringLiteral("Cancel"), 0, progressSteps, parent);
    progress_->setWindowTitle(applicationTitle);
    progress_->setWindowModality(Qt::NonModal); // the window stays usable
    progress_->setMinimumDuration(quietMilliseconds);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setValue(0);
    connect(progress_, &QProgressDialog::canceled, this, [this] { stop_ = true; });
    poll_.setInterval(pollMilliseconds);
    connect(&poll_, &QTimer::timeout, this, &WorkbookExport::followThread);
}

WorkbookExport* WorkbookExport::start(QWidget* parent, Box box, SheetRows fits, const QString& path)
{
    auto* exporting = new WorkbookExport(parent);
    exporting->thread_ = std::thread([exporting, box = std::move(box), fits = std::move(fits),
                                      target = toPath(path), shown = path.toStdString()]() mutable {
        const WorkbookContent content = workbookContent(box.text, box.delimiter, std::move(fits));
        box.text.clear();
        const WorkbookWritten written = writeWorkbook(target, content, [exporting](double done) {
            exporting->done_ = done;
            return !exporting->stop_;
        });
        exporting->message_ = written.failure.empty() ? workbookNote(written, shown)
                              : written.cancelled     ? std::string()
                                                      : written.failure;
        exporting->finished_ = true;
    });
    exporting->poll_.start();
    return exporting;
}

WorkbookExport::~WorkbookExport()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    delete progress_;
}

void WorkbookExport::followThread()
{
    if (!finished_) {
        if (!progress_->wasCanceled())
            progress_->setValue(static_cast<int>(done_ * (progressSteps - 1)));
        return;
    }
    poll_.stop();
    thread_.join();
    progress_->hide();
    const QString message = QString::fromStdString(message_);
    emit ended(message);
    if (!message.isEmpty() && parent_)
        showMessageBox(parent_, message);
    deleteLater();
}

WorkbookExport* saveForSpreadsheet(QWidget* parent, const BoxSnapshot& box, SheetRows fits,
                                   const QString& folder)
{
    const QString name =
        box.dataFile.isEmpty() ? QStringLiteral("lab") : QFileInfo(box.dataFile).completeBaseName();
    const QString path = askFileToSave(parent, QStringLiteral("Save for a spreadsheet"),
                                       folder + QLatin1Char('/') + name +
                                           QString::fromLatin1(workbookExtension),
                                       QStringLiteral("Workbook (*.xlsx)"));
    if (path.isEmpty())
        return nullptr;
    return WorkbookExport::start(parent, {box.text, box.delimiter}, std::move(fits), path);
}
