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
    // How far behind the box the file may be: a second while a recording
    // runs, so that a crash mid-recording loses at most a second of it.
    void setWait(int milliseconds);
    // Writes the unsaved text, or removes the file, now (what the wait ends in).
    void keepNow();
    // A normal close: no file is left.
    void removeFile();
    // Waits until the file is as the last call left it.
    void waitForDisk();

    static constexpr int waitMilliseconds = 10000;

private:
    void work();

    std::filesystem::path file_;
    std::function<std::optional<std::string>()> unsavedText_;
    QTimer wait_;

    // What the thread is to do next: write a text, or remove the file.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::optional<std::string>> job_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};
