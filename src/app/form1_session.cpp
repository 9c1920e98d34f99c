// The window's sessions: Save session (Ctrl+S), Save session as template,
// opening a session (Ctrl+O, a drop, the command line), the close question
// about a session, and the choices kept beside the recovery file.

#include "app/box_edit.h"
#include "app/box_text.h"
#include "app/devices.h"
#include "app/dialogs.h"
#include "app/form1.h"
#include "app/graph_window.h"
#include "app/lab_directory.h"
#include "app/recovery_keeper.h"
#include "app/report_panel.h"
#include "data/durable_file.h"
#include "data/recovery.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTimer>

#include <fstream>
#include <iterator>

namespace {

const QString sessionFilters = QStringLiteral("Bench Tabler sessions (*.btsession)");

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

Session Form1::session()
{
    Session session;
    session.box = readBox();
    session.delimiter = state_->delimiter;
    session.dataFile = dataFile_.toStdString();
    session.studentName =
        graphWindow_
            ? graphWindow_->reportPanel()->name().toStdString()
            : pendingName_.value_or(QSettings().value("report/name").toString().toStdString());
    session.graph = graphWindow_ ? graphWindow_->session() : pendingGraph_.value_or(GraphSession{});
    session.record = recordChoices();
    return session;
}

bool Form1::sessionChanged() { return !savedSession_ || writeSession(session()) != *savedSession_; }

void Form1::saveSession()
{
    if (sessionFile_.isEmpty())
        saveSessionAs();
    else
        writeSessionFile(sessionFile_, false);
}

void Form1::saveSessionAs()
{
    const QString proposed = sessionFile_.isEmpty()
                                 ? toQString(context_.labDirectory) + QStringLiteral("/lab") +
                                       QString::fromLatin1(sessionExtension)
                                 : sessionFile_;
    const QString path =
        askFileToSave(this, QStringLiteral("Save session"), proposed, sessionFilters);
    if (!path.isEmpty())
        writeSessionFile(path, false);
}

void Form1::saveSessionAsTemplate()
{
    const QString path =
        askFileToSave(this, QStringLiteral("Save session as template"),
                      toQString(context_.labDirectory) + QStringLiteral("/experiment") +
                          QString::fromLatin1(sessionExtension),
                      sessionFilters);
    if (!path.isEmpty())
        writeSessionFile(path, true);
}

bool Form1::writeSessionFile(const QString& path, bool asTemplate)
{
    Session current = session();
    current.isTemplate = asTemplate;
    const std::string bytes = writeSession(current);
    const std::string reason = replaceFileDurably(toPath(path), bytes);
    if (!reason.empty()) {
        showMessage("could not save " + path.toStdString() + ": " + reason);
        return false;
    }
    rememberFolder(path);
    if (asTemplate) // a teacher's template is never the student's session
        return true;
    current.isTemplate = false;
    savedSession_ = writeSession(current);
    setSessionFile(path);
    return true;
}

void Form1::setSessionFile(const QString& path)
{
    sessionFile_ = path;
    const QString name = path.isEmpty() ? QString() : QFileInfo(path).fileName();
    // The window's caption stays "Form1"; the session is named in the box's
    // description and the graph window's caption.
    text1_->setAccessibleDescription(name.isEmpty() ? QString()
                                                    : QStringLiteral("session ") + name);
    setWindowFilePath(path);
    if (graphWindow_)
        graphWindow_->setSessionName(name);
}

bool Form1::loadFile(const QString& path)
{
    std::ifstream file(toPath(path), std::ios::binary);
    char start[32] = {};
    file.read(start, sizeof start);
    if (looksLikeSession(std::string_view(start, static_cast<std::size_t>(file.gcount()))))
        return openSession(path);
    return loadDataFile(path);
}

bool Form1::openSession(const QString& path)
{
    const SessionRead read = readSession(fileBytes(toPath(path)), path.toStdString());
    if (!read.session) {
        showMessage(read.refusal);
        return false;
    }
    applySession(*read.session);
    rememberFolder(path);
    openedTemplate_ = read.session->isTemplate;
    if (read.session->isTemplate) { // a new, unnamed session: the first Save asks for a name
        savedSession_.reset();
        setSessionFile({});
    } else {
        savedSession_ = writeSession(session());
        setSessionFile(path);
    }
    return true;
}

void Form1::applySession(const Session& session)
{
    replaceBox(session.box);
    startUpUntouched_ = false;
    state_->delimiter = session.delimiter;
    dataFile_ = QString::fromStdString(session.dataFile);
    applyChoices(session);
}

void Form1::applyChoices(const Session& session)
{
    pendingName_ = session.studentName;
    if (graphWindow_ || session.graph.open) {
        graphWindow()->reportPanel()->setName(QString::fromStdString(session.studentName));
        graphWindow_->restoreSession(session.graph);
        if (!session.graph.open)
            graphWindow_->hide();
    } else {
        pendingGraph_ = session.graph; // the graph window takes them when it is made
    }
    recordChoices_ = session.record;
    QString reason;
    if (recordWindow_)
        if (const Devices* found = devices(&reason))
            found->setRecordChoices(recordWindow_, session.record);
}

bool Form1::askToSaveSession()
{
    const QString name = sessionFile_.isEmpty()
                             ? QStringLiteral("The session")
                             : QStringLiteral("The session ") + QFileInfo(sessionFile_).fileName();
    switch (askSaveDiscardCancel(this, name + QStringLiteral(" has changes that are not saved. "
                                                             "Save the session before closing?"))) {
    case QMessageBox::Save: {
        saveSession();
        return !sessionFile_.isEmpty() && !sessionChanged();
    }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

// Beside the recovery file: the session's choices without the box, written
// when they change, so that a crash loses neither.
void Form1::keepChoicesForRecovery()
{
    if (!recovery_)
        return;
    const std::filesystem::path file = recoveryChoicesFile(recovery_->file());
    const std::string text = readBox();
    std::error_code ignored;
    if (text.empty() || text == startUpText || (text == savedText_ && !sessionChanged())) {
        std::filesystem::remove(file, ignored);
        keptChoices_.clear();
        return;
    }
    Session choices = session();
    choices.box.clear();
    const std::string bytes = writeSession(choices);
    if (bytes == keptChoices_ && std::filesystem::exists(file, ignored))
        return;
    if (replaceFileDurably(file, bytes).empty())
        keptChoices_ = bytes;
}

void Form1::putBackChoices(const std::filesystem::path& recovered)
{
    const std::filesystem::path file = recoveryChoicesFile(recovered);
    const SessionRead read = readSession(fileBytes(file), file.string());
    if (read.session)
        applyChoices(*read.session);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}
