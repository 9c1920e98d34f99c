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
    changedWhole_ = true;
    startWait();
}

void RecoveryKeeper::boxAppended(const std::string& text)
{
    appended_ += text;
    startWait();
}

// Not restarted by later changes: the file is at most the wait behind.
void RecoveryKeeper::startWait()
{
    if (!wait_.isActive())
        wait_.start();
}

void RecoveryKeeper::setWait(int milliseconds)
{
    wait_.setInterval(milliseconds);
    if (wait_.isActive() && wait_.remainingTime() > milliseconds)
        wait_.start();
}

bool RecoveryKeeper::canAppend() const { return !changedWhole_ && lastJobWrote_ && !outOfStep_; }

void RecoveryKeeper::keepNow()
{
    wait_.stop();
    {
        const std::lock_guard lock(mutex_);
        if (canAppend()) {
            if (job_) // a job not yet begun, which the added text follows
                job_->text += appended_;
            else if (!appended_.empty())
                job_ = Job{Job::Kind::Append, std::move(appended_)};
        } else {
            std::optional<std::string> text = unsavedText_();
            lastJobWrote_ = text.has_value();
            // A newer job replaces one not yet begun.
            job_ = text ? Job{Job::Kind::Write, std::move(*text)} : Job{Job::Kind::Remove, {}};
        }
        appended_.clear();
        changedWhole_ = false;
    }
    wake_.notify_all();
}

void RecoveryKeeper::removeFile()
{
    wait_.stop();
    {
        const std::lock_guard lock(mutex_);
        job_ = Job{Job::Kind::Remove, {}};
        lastJobWrote_ = false;
        appended_.clear();
    }
    wake_.notify_all();
    waitForDisk();
}

void RecoveryKeeper::waitForDisk()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !job_ && !busy_; });
}

std::string RecoveryKeeper::carryOut(const Job& job) const
{
    switch (job.kind) {
    case Job::Kind::Write:
        return replaceFileDurably(file_, job.text); // a failure leaves the last good file
    case Job::Kind::Append:
        return appendToFileDurably(file_, job.text);
    case Job::Kind::Remove:
        break;
    }
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
    return {};
}

void RecoveryKeeper::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || job_; });
        if (!job_)
            return; // stopping, nothing left to do
        const Job job = std::move(*job_);
        job_.reset();
        // Added text goes only to the file the jobs before it made.
        if (job.kind != Job::Kind::Append || !outOfStep_) {
            busy_ = true;
            lock.unlock();
            const std::string failure = carryOut(job);
            lock.lock();
            outOfStep_ = (outOfStep_ && job.kind != Job::Kind::Write) || !failure.empty();
            busy_ = false;
        }
        wake_.notify_all();
    }
}
