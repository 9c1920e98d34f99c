#include "record/recording_session.h"

#include "sound/sound_file.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSerialPort>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int pollMilliseconds = 50; // about 15 requests a second with the phone's answers
constexpr int phoneTimeoutMilliseconds = 3000;
// Bytes within this time of the port opening come from a board that was
// already sending: the line they are part of began before the recording.
constexpr int streamingMilliseconds = 50;
// A sound input that delivers nothing this long past the seconds asked has
// fallen silent: the recording ends with what came.
constexpr int silentMilliseconds = 2000;

QString text(const std::string& value) { return QString::fromStdString(value); }

} // namespace

RecordingSession::RecordingSession(RecordSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings))
{
    stopTimer_.setSingleShot(true);
    connect(&stopTimer_, &QTimer::timeout, this, &RecordingSession::stop);
    pollTimer_.setSingleShot(true);
    connect(&pollTimer_, &QTimer::timeout, this, &RecordingSession::pollPhone);
}

RecordingSession::~RecordingSession() = default;

void RecordingSession::start()
{
    if (settings_.source == RecordSettings::Source::Serial)
        startSerial();
    else if (settings_.source == RecordSettings::Source::Microphone)
        startMicrophone();
    else
        startPhone();
}

void RecordingSession::startSerial()
{
    port_ = std::make_unique<QSerialPort>(settings_.port);
    port_->setBaudRate(settings_.baud);
    if (!port_->open(QIODevice::ReadOnly)) {
        const QString reason = port_->errorString();
        port_.reset();
        emit failedToStart(QStringLiteral("could not open %1: %2").arg(settings_.port, reason));
        return;
    }
    // What the port held before Start is not part of the recording; bytes
    // coming at once are the rest of a line a running board had begun.
    port_->clear(QSerialPort::Input);
    skippingCutLine_ = port_->waitForReadyRead(streamingMilliseconds);
    recorder_ = std::make_unique<LineRecorder>(settings_.lines);
    connect(port_.get(), &QSerialPort::readyRead, this, &RecordingSession::readSerial);
    if (port_->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &RecordingSession::readSerial);
    connect(port_.get(), &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError)
            end(QStringLiteral("the board on %1 was disconnected; every line received stays")
                    .arg(settings_.port));
    });
    recording_ = true;
    clock_.start();
    if (settings_.stopSeconds)
        stopTimer_.start(static_cast<int>(*settings_.stopSeconds * 1000));
}

void RecordingSession::readSerial()
{
    if (!recording_)
        return;
    QByteArray bytes = port_->readAll();
    if (skippingCutLine_) {
        const qsizetype lineBreak = bytes.indexOf('\n');
        bytes.remove(0, lineBreak < 0 ? bytes.size() : lineBreak + 1);
        skippingCutLine_ = lineBreak < 0;
    }
    recorder_->receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                       static_cast<double>(clock_.nsecsElapsed()) / 1e9);
    if (!header_ && recorder_->header()) {
        header_ = recorder_->header();
        emit headerReady(text(*header_));
    }
    deliver(recorder_->takeRows());
}

void RecordingSession::deliver(std::vector<std::string> rows)
{
    if (settings_.stopRows && rows_ + rows.size() > *settings_.stopRows)
        rows.resize(*settings_.stopRows - rows_);
    if (!rows.empty()) {
        QStringList list;
        list.reserve(static_cast<qsizetype>(rows.size()));
        for (const std::string& row : rows)
            list << text(row);
        rows_ += rows.size();
        emit rowsArrived(list);
    }
    if (settings_.stopRows && rows_ >= *settings_.stopRows)
        stop();
}

std::string RecordingSession::unreadMessage() const
{
    return recorder_ ? recorder_->unreadMessage() : std::string();
}

void RecordingSession::stop()
{
    if (!recording_)
        return;
    if (settings_.source != RecordSettings::Source::Phone) {
        end({});
        return;
    }
    // The phone stops measuring before the recording says it has ended, so
    // that the batch does not quit with the request unsent.
    recording_ = false;
    stopTimer_.stop();
    pollTimer_.stop();
    askPhone(QStringLiteral("/control?cmd=stop"), &RecordingSession::phoneStopped);
}

void RecordingSession::phoneStopped(QNetworkReply*) { emit finished({}); }

void RecordingSession::end(const QString& message)
{
    if (!recording_)
        return;
    recording_ = false;
    stopTimer_.stop();
    pollTimer_.stop();
    if (port_) {
        if (port_->isOpen() && port_->bytesAvailable() > 0 && message.isEmpty())
            readSerial();
        port_->close();
    }
    if (audio_)
        audio_->stop();
    emit finished(message.isEmpty() ? rateNote_ : message);
}

namespace {

QAudioDevice soundInputNamed(const QString& name)
{
    if (name.isEmpty())
        return QMediaDevices::defaultAudioInput();
    for (const QAudioDevice& device : QMediaDevices::audioInputs())
        if (device.description() == name || device.id() == name.toUtf8())
            return device;
    return {};
}

} // namespace

void RecordingSession::startMicrophone()
{
    const QAudioDevice device = soundInputNamed(settings_.microphone);
    if (device.isNull()) {
        emit failedToStart(settings_.microphone.isEmpty()
                               ? QStringLiteral("this computer has no sound input")
                               : QStringLiteral("there is no sound input named \"%1\"")
                                     .arg(settings_.microphone));
        return;
    }
    QAudioFormat format;
    format.setSampleRate(settings_.rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        format.setSampleRate(std::clamp(device.preferredFormat().sampleRate(),
                                        device.minimumSampleRate(), device.maximumSampleRate()));
    audio_ = std::make_unique<QAudioSource>(device, format);
    audioInput_ = audio_->start();
    if (!audioInput_ || audio_->error() != QAudio::NoError) {
        audio_.reset();
        emit failedToStart(QStringLiteral("could not record from %1").arg(device.description()));
        return;
    }
    audioRate_ = audio_->format().sampleRate();
    if (audioRate_ != settings_.rate)
        rateNote_ = QStringLiteral("%1 records %2 samples a second, not the %3 asked for; the "
                                   "times follow its rate")
                        .arg(device.description())
                        .arg(audioRate_)
                        .arg(settings_.rate);
    // The trigger's column counts the channels; the rows begin with t.
    RecordOptions options = settings_.lines;
    options.hostTime = false;
    if (options.trigger)
        ++options.trigger->column;
    recorder_ = std::make_unique<LineRecorder>(options);
    connect(audioInput_, &QIODevice::readyRead, this, &RecordingSession::readMicrophone);
    header_ = "t (s)" + std::string(1, settings_.lines.delimiter) + "left";
    emit headerReady(text(*header_));
    recording_ = true;
    clock_.start();
    // The seconds asked are the sound's own: as many rows as samples in
    // them; the clock only stops an input that falls silent.
    if (settings_.stopSeconds) {
        settings_.stopRows = static_cast<std::size_t>(std::llround(*settings_.stopSeconds * audioRate_));
        stopTimer_.start(static_cast<int>(*settings_.stopSeconds * 1000) + silentMilliseconds);
    }
}

// Each sample a line "t:T,left:V" for the recorder, which keeps its rows
// and watches the trigger; t counts the samples at the input's rate.
void RecordingSession::readMicrophone()
{
    if (!recording_)
        return;
    const QByteArray bytes = audioInput_->readAll();
    std::string lines;
    lines.reserve(static_cast<std::size_t>(bytes.size()) * 16);
    for (qsizetype at = 0; at + 1 < bytes.size(); at += 2) {
        qint16 sample;
        std::memcpy(&sample, bytes.constData() + at, sizeof sample);
        lines += "t:" + sampleTime(samples_++, audioRate_) + ",left:" +
                 sampleValue(static_cast<double>(sample) / 32768) + "\n";
    }
    recorder_->receive(lines, static_cast<double>(clock_.nsecsElapsed()) / 1e9);
    deliver(recorder_->takeRows());
}

void RecordingSession::startPhone()
{
    network_ = new QNetworkAccessManager(this);
    network_->setTransferTimeout(phoneTimeoutMilliseconds);
    askPhone(QStringLiteral("/config"), &RecordingSession::phoneConfigured);
}

void RecordingSession::askPhone(const QString& request,
                                void (RecordingSession::*answered)(QNetworkReply*))
{
    QNetworkRequest get(QUrl(QStringLiteral("http://%1%2").arg(settings_.phone, request)));
    // The phone's server takes one connection at a time and no keep-alive.
    get.setRawHeader("Connection", "close");
    QNetworkReply* reply = network_->get(get);
    connect(reply, &QNetworkReply::finished, this, [this, reply, answered] {
        reply->deleteLater();
        if (answered)
            (this->*answered)(reply);
    });
}

void RecordingSession::phoneConfigured(QNetworkReply* reply)
{
    const QString phone = settings_.phone;
    if (reply->error() != QNetworkReply::NoError) {
        emit failedToStart(QStringLiteral("the phone at %1 does not answer (%2); is phyphox "
                                          "running there with remote access on?")
                               .arg(phone, reply->errorString()));
        return;
    }
    const QByteArray body = reply->readAll();
    const auto sets =
        exportSetsOf(std::string_view(body.constData(), static_cast<std::size_t>(body.size())));
    if (!sets || sets->empty()) {
        emit failedToStart(QStringLiteral("the phone at %1 offers no data to export").arg(phone));
        return;
    }
    set_ = sets->front();
    for (const ExportSet& set : *sets)
        if (text(set.name) == settings_.exportSet)
            set_ = set;
    if (!settings_.exportSet.isEmpty() && text(set_.name) != settings_.exportSet) {
        emit failedToStart(QStringLiteral("the phone at %1 has no export set \"%2\"")
                               .arg(phone, settings_.exportSet));
        return;
    }
    std::string header;
    for (const std::string& label : set_.labels)
        header += (header.empty() ? "" : std::string(1, settings_.lines.delimiter)) + label;
    header_ = header;
    askPhone(QString::fromStdString(latestTimeRequest(set_)), &RecordingSession::phoneReached);
}

// How far the phone's buffers reach: the recording takes only what is
// measured after its Start, not a recording made before it.
void RecordingSession::phoneReached(QNetworkReply* reply)
{
    if (reply->error() != QNetworkReply::NoError) {
        emit failedToStart(QStringLiteral("the phone at %1 does not answer (%2)")
                               .arg(settings_.phone, reply->errorString()));
        return;
    }
    const QByteArray body = reply->readAll();
    lastTime_ = latestTimeOf(
        std::string_view(body.constData(), static_cast<std::size_t>(body.size())), set_);
    askPhone(QStringLiteral("/control?cmd=start"), &RecordingSession::phoneStarted);
}

void RecordingSession::phoneStarted(QNetworkReply* reply)
{
    if (reply->error() != QNetworkReply::NoError) {
        emit failedToStart(QStringLiteral("the phone at %1 did not start measuring (%2)")
                               .arg(settings_.phone, reply->errorString()));
        return;
    }
    recording_ = true;
    clock_.start();
    emit headerReady(text(*header_));
    if (settings_.stopSeconds)
        stopTimer_.start(static_cast<int>(*settings_.stopSeconds * 1000));
    pollPhone();
}

void RecordingSession::pollPhone()
{
    if (recording_)
        askPhone(QString::fromStdString(pollRequest(set_, lastTime_)),
                 &RecordingSession::phoneAnswered);
}

void RecordingSession::phoneAnswered(QNetworkReply* reply)
{
    if (!recording_)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        end(QStringLiteral("the phone at %1 stopped answering (%2); every value received stays")
                .arg(settings_.phone, reply->errorString()));
        return;
    }
    const QByteArray body = reply->readAll();
    const std::optional<PhoneReply> answer = readPhoneReply(
        std::string_view(body.constData(), static_cast<std::size_t>(body.size())), set_);
    if (!answer) {
        end(QStringLiteral("the phone at %1 sent an answer that is not phyphox's")
                .arg(settings_.phone));
        return;
    }
    if (!session_.empty() && answer->session != session_) {
        end(QStringLiteral("the phone switched to another experiment; the recording stopped"));
        return;
    }
    session_ = answer->session;
    std::vector<std::string> rows;
    for (const std::vector<double>& row : answer->rows)
        rows.push_back(phoneRowText(row, settings_.lines.delimiter));
    if (!answer->rows.empty())
        lastTime_ = answer->rows.back().front();
    deliver(std::move(rows));
    if (recording_)
        pollTimer_.start(pollMilliseconds);
}
