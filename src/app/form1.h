#pragma once

#include "data/command_context.h"
#include "data/data_intake.h"
#include "data/user_interface.h"
#include "data/working_state.h"
#include "session/session.h"

#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>

// The box's text at start, selected so that the first typing replaces it.
inline constexpr const char* startUpText = "Enter Data Here";

class BoxEdit;
class GraphWindow;
class RecoveryKeeper;
class QDropEvent;
class QMimeData;
class QPlainTextEdit;
class QTextCursor;
class QTimer;
class QPushButton;

// The program's main window: the text box Text1, the thirteen command
// buttons, Graph, calculate column and record data. It owns the working state and gives the
// commands the screen.
class Form1 : public QWidget, public UserInterface {
    Q_OBJECT

public:
    // labDirectory is where the program keeps its files; it is created here.
    explicit Form1(const std::filesystem::path& labDirectory, QWidget* parent = nullptr);
    ~Form1() override;

    const WorkingState& workingState() const { return *state_; }
    // What keeps the unsaved text safe from a crash.
    RecoveryKeeper* recovery() const { return recovery_; }

    std::string readBox() const override;
    void replaceBox(const std::string& text, std::size_t showFrom = 0) override;
    void showMessage(const std::string& prompt) override;
    std::string askText(const std::string& prompt, const std::string& offered = {}) override;

    // Replaces the box with a data file's text, as one undo step; asks
    // whether decimal commas should become points. A file that cannot be
    // used is refused with a message and the box is left alone. True when
    // the box was loaded.
    bool loadDataFile(const QString& path);
    // Opens a session file, or loads a data file (by what the file begins
    // with): a file manager's double click, a drop, the command line.
    bool loadFile(const QString& path);
    // Opens a session: the box byte for byte, the delimiter, the graph and
    // record windows' choices. A file that cannot be read is refused with a
    // message naming it, and nothing changes.
    bool openSession(const QString& path);
    // What a session file would hold now.
    Session session();
    // The session's file; empty for a new or a template's session.
    const QString& sessionFile() const { return sessionFile_; }

public slots:
    void cmd_clear_box_Click();
    void cmd_first_difference_Click();
    void cmd_running_sum_Click();
    void cmd_difference_quotient_Click();
    void cmd_select_column_Click();
    void cmd_change_row_to_column_Click();
    void cmd_std_dev_Click();
    void cmd_genRand_Click();
    void cmd_change_delimiter_Click();
    void cmd_output_as_delimited_file_Click();
    void cmd_experiment_specific_calculations_Click();
    // Opens the graph of the box, or raises it.
    void cmd_graph_Click();
    // Adds a column worked out from a formula to the box's data rows.
    void cmd_calculate_column_Click();
    // Opens the record window, or raises it.
    void cmd_record_Click();

    // Asks for a session or a data file and opens it (Ctrl+O).
    void openFile();
    // Saves the session to its file, or asks for one (Ctrl+S).
    void saveSession();
    void saveSessionAs();
    // Writes the session as a template: it opens as a new, unnamed session,
    // so that a teacher's prepared experiment is never saved over.
    void saveSessionAsTemplate();
    // Offers the text of each program that ended without closing, newest
    // first: put back as one undo step, or let go. Run once the window shows.
    void offerRecoveries();
    // Asks where to save the box, and saves it as "Output as delimited file" does.
    void saveTextAs();
    // Asks where, then writes the box as a workbook, with the fits the graph
    // window shows when it is open.
    void saveForSpreadsheet();

private slots:
    // Writes the session's choices beside the recovery file when they
    // changed; every two seconds.
    void keepChoicesForRecovery();
    // The record window's signals.
    void recordingStarted();
    void recordingEnded();
    // Text of a recording, at the end of the box.
    void appendRecorded(const QString& text);
    void appendRecordedRows(const QStringList& rows);
    void appendWaitingRows();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addButton(const char* name, const QString& caption, QRect twips);
    void layOutControls();
    void addShortcuts();
    void showBoxMenu(const QPoint& position);
    // A drop of files: loads one, refuses several. False for anything else,
    // which the box takes as it always has.
    bool dropFiles(const QMimeData* data);
    // A paste of two lines or more: asks about their delimiter and decimal
    // commas as opening a file does, and puts them in, converted as the
    // answers say, as one undo step. False for a paste of one line, which
    // the box takes as it is.
    bool takePaste(const QString& text);
    // The questions that text from outside the box asks, put to the student.
    TakenIn takeInAsking(const std::string& text, IntakeSource source);
    // Saves the box to benchTablerOutput.txt; true when that worked.
    bool saveToOutputFile();
    // Whether the window may close: nothing unsaved, or the student saved or
    // discarded it when asked.
    bool closeWithoutLoss();
    bool writeSessionFile(const QString& path, bool asTemplate);
    void setSessionFile(const QString& path);
    bool sessionChanged();
    bool askToSaveSession();
    void applySession(const Session& session);
    // The choices of a session without its box: the graph's, the record
    // window's, the report's name.
    void applyChoices(const Session& session);

    // The choices kept beside a recovery file put back with its text.
    void putBackChoices(const std::filesystem::path& recovered);
    std::filesystem::path outputFile() const;
    // The open dialog starts where a file was last opened or saved.
    void rememberFolder(const QString& file);
    void startUp();
    // Scrolls the box so that a position of its document is in view.
    void bringIntoView(int position);
    // The graph window, made on first use.
    GraphWindow* graphWindow();
    // The record window, made on first use with the devices' module; null
    // (and a message) when the module cannot be loaded.
    QWidget* recordWindow();
    // What the record window shows, or what a session gave it before it
    // was made.
    RecordChoices recordChoices() const;
    QString recordingHeading() const;
    // A block of data at the end of the box, after an empty line, as one
    // undo step.
    void appendBlock(const std::string& block);
    // Other data came into the box (a file opened, a paste over all of it,
    // Clear): the graph starts from its defaults.
    void newDataInBox();
    // Whether text put in at the cursor replaces the whole box.
    bool replacesWholeBox(const QTextCursor& cursor) const;

    // The box text as the core sees it, kept while the document is unchanged:
    // a command reads the box more than once, and converting a long text
    // each time would cost more than the command's own work.
    mutable std::optional<std::string> boxText_;

    // The box text as last saved in this session, by either save.
    std::optional<std::string> savedText_;
    QString lastFolder_; // empty: the lab directory
    QString dataFile_;   // the file last opened into the box: the report's title
    RecoveryKeeper* recovery_ = nullptr;
    // The box still holds the start-up text as the program put it there.
    bool startUpUntouched_ = false;

    std::unique_ptr<WorkingState> state_;
    CommandContext context_;
    BoxEdit* text1_ = nullptr;
    GraphWindow* graphWindow_ = nullptr; // made on first use
    QWidget* recordWindow_ = nullptr;    // a RecordWindow, made on first use
    std::optional<RecordChoices> recordChoices_; // from a session, until the window is made
    std::optional<GraphSession> pendingGraph_;   // likewise for the graph window
    std::optional<std::string> pendingName_;     // the report's name, likewise
    QString sessionFile_;
    std::optional<std::string> savedSession_; // the session file's bytes as last saved or opened
    bool openedTemplate_ = false;
    std::string keptChoices_; // as written beside the recovery file
    QTimer* choicesWatch_ = nullptr;
    bool recordingInBox_ = false;        // the recording under way has put text in the box
    bool appendingRecording_ = false;    // rows of it go in now
    // Rows that came while the box waits between two additions.
    QStringList waitingRows_;
    QTimer* rowsWait_ = nullptr;
};
