#include "app/recovery_keeper.h"

#include "data/durable_file.h"

RecoveryKeeper::RecoveryKeeper(std::filesystem::path file,
                               std::function<std::optional<std::string>()> unsavedText,
                               QObject* parent)
    : QObject(parent), file_(std::move(file)), unsavedText_(std::move(unsavedText)),
      worker_(&RecoveryKeeper::work, this)
{
    wait_.setSingleShot(true);
    wait_.setInterval(waitMilliseconds);
    connect(&wait_, &QTimer::timeout, this, &RecoveryKeeper::keepNow);
}

RecoveryKeeper::~RecoveryKeeper()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void RecoveryKeeper::boxChanged()
{
    // Not restarted by later changes: the file is at most 10 seconds behind.
    if (!wait_.isActive())
        wait_.start();
}

void RecoveryKeeper::setWait(int milliseconds)
{
    wait_.setInterval(milliseconds);
    if (wait_.isActive() && wait_.remainingTime() > milliseconds)
        wait_.start();
}

void RecoveryKeeper::keepNow()
{
    wait_.stop();
    {
        const std::lock_guard lock(mutex_);
        job_ = unsavedText_(); // a newer job replaces one not yet begun
    }
    wake_.notify_all();
}

void RecoveryKeeper::removeFile()
{
    wait_.stop();
    {
        const std::lock_guard lock(mutex_);
        job_ = std::optional<std::string>();
    }
    wake_.notify_all();
    waitForDisk();
}

void RecoveryKeeper::waitForDisk()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !job_ && !busy_; });
}

void RecoveryKeeper::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || job_; });
        if (!job_)
            return; // stopping, nothing left to do
        const std::optional<std::string> text = std::move(*job_);
        job_.reset();
        busy_ = true;
        lock.unlock();
        std::error_code ignored;
        if (text)
            replaceFileDurably(file_, *text); // a failure leaves the last good file
        else
            std::filesystem::remove(file_, ignored);
        lock.lock();
        busy_ = false;
        wake_.notify_all();
    }
}
