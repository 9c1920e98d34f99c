// The window's files: opening a data file (Ctrl+O, the box's menu, a drop),
// saving the box where the student chooses (Ctrl+Shift+S, the box's menu)
// or as a workbook for a spreadsheet, and the question on closing with text
// that was not saved.

#include "app/box_edit.h"
#include "app/box_text.h"
#include "app/dialogs.h"
#include "app/form1.h"
#include "app/graph_window.h"
#include "app/lab_directory.h"
#include "app/qt_text_decoder.h"
#include "app/recovery_keeper.h"
#include "app/workbook_export.h"
#include "commands/change_delimiter.h"
#include "commands/save_output.h"
#include "data/data_file.h"
#include "data/data_intake.h"
#include "data/recovery.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

#include <fstream>
#include <iterator>

namespace {

// The local files a drag carries; empty when it carries anything else.
QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

} // namespace

TakenIn Form1::takeInAsking(const std::string& text, IntakeSource source)
{
    TakenIn taken = takeIn(text, state_->delimiter, source,
                           [this](IntakeQuestion, const std::string& question) {
                               return std::optional<bool>(askYesNo(this, toWidgetText(question)));
                           });
    if (taken.delimiter) {
        setDelimiter(*state_, *taken.delimiter);
        if (graphWindow_)
            graphWindow_->boxChanged(); // the lines split elsewhere now
    }
    return taken;
}

bool Form1::loadDataFile(const QString& path)
{
    const DataFileText file = readDataFile(toPath(path), qtTextDecode);
    if (!file.refusal.empty()) {
        showMessage(file.refusal);
        return false;
    }
    const TakenIn taken = takeInAsking(file.text, IntakeSource::File);
    replaceBox(taken.text);
    for (const std::string& note : taken.notes)
        showMessage(note);
    if (const std::optional<std::string> note = beyondTheCommands(taken.text))
        showMessage(*note);
    rememberFolder(path);
    dataFile_ = path;
    newDataInBox();
    return true;
}

void Form1::newDataInBox()
{
    if (graphWindow_)
        graphWindow_->startFromDefaults();
}

bool Form1::replacesWholeBox(const QTextCursor& cursor) const
{
    const QTextDocument* document = text1_->document();
    return document->isEmpty() || startUpUntouched_ ||
           (cursor.selectionStart() == 0 &&
            cursor.selectionEnd() >= document->characterCount() - 1);
}

bool Form1::takePaste(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const std::string pasted = toCoreText(lines);
    // Pasted over the whole box: other data, which the graph takes afresh.
    const bool overWholeBox = replacesWholeBox(text1_->textCursor());
    if (!asksAboutPaste(pasted)) {
        if (overWholeBox) // once the box has taken the line itself
            QTimer::singleShot(0, this, &Form1::newDataInBox);
        return false;
    }
    const TakenIn taken = takeInAsking(pasted, IntakeSource::Paste);
    // One edit: the paste and its conversion are one undo step.
    text1_->textCursor().insertText(toWidgetText(taken.text));
    text1_->ensureCursorVisible();
    for (const std::string& note : taken.notes)
        showMessage(note);
    if (overWholeBox)
        newDataInBox();
    return true;
}

void Form1::openFile()
{
    const QString path = askDataFileToOpen(
        this, lastFolder_.isEmpty() ? toQString(context_.labDirectory) : lastFolder_);
    if (!path.isEmpty())
        loadFile(path);
}

void Form1::saveTextAs()
{
    const QString path =
        askFileToSave(this, QStringLiteral("Save text as"), toQString(outputFile()),
                      QStringLiteral("Text files (*.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    const std::string text = readBox();
    const std::string reason = saveBoxText(toPath(path), text);
    if (reason.empty()) {
        savedText_ = text;
        rememberFolder(path);
    } else
        showMessage("could not save " + path.toStdString() + ": " + reason);
}

bool Form1::saveToOutputFile()
{
    const std::string text = readBox();
    if (!outputAsDelimitedFile(context_))
        return false;
    savedText_ = text;
    return true;
}

void Form1::rememberFolder(const QString& file) { lastFolder_ = QFileInfo(file).absolutePath(); }

std::filesystem::path Form1::outputFile() const { return context_.labDirectory / outputFileName; }

void Form1::saveForSpreadsheet()
{
    const bool fitsShown = graphWindow_ && graphWindow_->isVisible();
    const QString folder = lastFolder_.isEmpty() ? toQString(context_.labDirectory) : lastFolder_;
    ::saveForSpreadsheet(this, BoxSnapshot{readBox(), state_->delimiter, dataFile_},
                         fitsShown ? graphWindow_->fitsSheet() : SheetRows{}, folder);
}

void Form1::showBoxMenu(const QPoint& position)
{
    QMenu* menu = text1_->createStandardContextMenu(position);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                    &Form1::openFile);
    menu->addAction(QStringLiteral("Save session..."), QKeySequence(Qt::CTRL | Qt::Key_S), this,
                    &Form1::saveSession);
    menu->addAction(QStringLiteral("Save session as template..."), this,
                    &Form1::saveSessionAsTemplate);
    menu->addAction(QStringLiteral("Save text as..."),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this, &Form1::saveTextAs);
    menu->addAction(QStringLiteral("Save for a spreadsheet..."), this, &Form1::saveForSpreadsheet);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(text1_->viewport()->mapToGlobal(position));
}

bool Form1::dropFiles(const QMimeData* data)
{
    const QStringList files = localFiles(data);
    if (files.isEmpty())
        return false;
    if (files.size() > 1)
        showMessage("drop one file at a time");
    else
        loadFile(files.constFirst());
    return true;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != text1_->viewport())
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        // A click into the untouched start-up text keeps it all selected, so
        // that the first key typed replaces it.
        if (startUpUntouched_) {
            text1_->setFocus(Qt::MouseFocusReason);
            text1_->selectAll();
            return true;
        }
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (localFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!dropFiles(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}

void Form1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent* event)
{
    if (dropFiles(event->mimeData()))
        event->acceptProposedAction();
}

void Form1::offerRecoveries()
{
    for (const LeftRecovery& left : leftRecoveries(context_.labDirectory, processRuns)) {
        std::ifstream file(left.path, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        if (askYesNo(this, toWidgetText(recoveryQuestion(text, left.saved)))) {
            replaceBox(text);
            putBackChoices(left.path);
        }
        std::error_code ignored;
        std::filesystem::remove(left.path, ignored);
        std::filesystem::remove(recoveryChoicesFile(left.path), ignored);
    }
}

void Form1::closeEvent(QCloseEvent* event)
{
    appendWaitingRows(); // a recording's last rows are in the box that may be saved
    event->accept();
    if (!closeWithoutLoss())
        event->ignore();
    if (event->isAccepted()) {
        recovery_->removeFile();
        std::error_code ignored;
        std::filesystem::remove(recoveryChoicesFile(recovery_->file()), ignored);
    }
}

bool Form1::closeWithoutLoss()
{
    // A session in use: the question is about the session, and after a save
    // nothing is asked until something changes.
    if (!sessionFile_.isEmpty() || openedTemplate_ || savedSession_)
        return !sessionChanged() || askToSaveSession();
    const std::string text = readBox();
    if (text.empty() || text == startUpText || text == savedText_)
        return true;
    const QString question =
        QStringLiteral("The text box has changes that are not saved. Save them to %1 before "
                       "closing?")
            .arg(toQString(outputFile()));
    switch (askSaveDiscardCancel(this, question)) {
    case QMessageBox::Save:
        return saveToOutputFile();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}
