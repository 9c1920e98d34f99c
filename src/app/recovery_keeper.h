#pragma once

#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

// Keeps the box's unsaved text in this program's recovery file in the lab
// directory: written within 10 seconds of a change, not more often, durably
// as every save is, on a thread of its own so that the window never waits
// for the disk; removed when the text is no longer unsaved and on a normal
// close.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    // `unsavedText` gives the box's text when it holds changes not saved,
    // nothing otherwise.
    RecoveryKeeper(std::filesystem::path file,
                   std::function<std::optional<std::string>()> unsavedText,
                   QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    // The box changed: the file follows within 10 seconds (or the wait set).
    void boxChanged();
    // Text added at the end of the box (a recording's rows, CR LF): the file
    // follows within the wait by adding it to its own end, so that a long
    // recording is not read and written whole every second.
    void boxAppended(const std::string& text);
    // How far behind the box the file may be: a second while a recording
    // runs, so that a crash mid-recording loses at most a second of it.
    void setWait(int milliseconds);
    // Writes the unsaved text, or removes the file, now (what the wait ends in);
    // only the text added since, when nothing else changed.
    void keepNow();
    const std::filesystem::path& file() const { return file_; }
    // A normal close: no file is left.
    void removeFile();
    // Waits until the file is as the last call left it.
    void waitForDisk();

    static constexpr int waitMilliseconds = 10000;

private:
    // What the thread is to do: write the file whole, add to its end, or
    // remove it.
    struct Job {
        enum class Kind { Write, Append, Remove };
        Kind kind;
        std::string text;
    };

    void startWait();
    bool canAppend() const; // with the mutex held
    // The reason a job failed, or empty text.
    std::string carryOut(const Job& job) const;
    void work();

    std::filesystem::path file_;
    std::function<std::optional<std::string>()> unsavedText_;
    QTimer wait_;
    // Since the last job was given: whether the box changed other than at its
    // end, and what was added there.
    bool changedWhole_ = true;
    std::string appended_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Job> job_;    // the next job, not yet begun
    bool lastJobWrote_ = false; // the last job given leaves the box's text in the file
    bool outOfStep_ = false;    // a job failed: the file is not what the jobs made it
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};
