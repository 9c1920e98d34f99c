#pragma once

#include "record/line_recorder.h"
#include "record/phyphox.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAudioSource;
class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QSerialPort;

// What to record from and when to stop.
struct RecordSettings {
    enum class Source { Serial, Phone, Microphone };
    Source source = Source::Serial;
    QString port; // a serial port's name or device path ("ttyACM0", "/dev/pts/3")
    int baud = 115200;
    QString phone;     // "192.168.1.23:8080"
    QString exportSet; // empty: the phone's first
    QString microphone; // a sound input's name; empty: the system's default
    int rate = 44100;   // the microphone's samples a second, 8000 to 48000
    RecordOptions lines;
    std::optional<double> stopSeconds;
    std::optional<std::size_t> stopRows;
};

// One recording from a board on a serial port, a phone running phyphox or
// a sound input (a microphone, "t (s),left" rows at its sample rate):
// Qt Core only, for the record window and the batch alike. Rows come as the
// box holds them (the box's delimiter, the device's own numbers); the
// recording ends on Stop, after the seconds or rows asked for, or when the
// device goes away, every row received kept.
class RecordingSession : public QObject {
    Q_OBJECT

public:
    explicit RecordingSession(RecordSettings settings, QObject* parent = nullptr);
    ~RecordingSession() override;

    // Opens the port, or asks the phone for its experiment; false, with the
    // reason in the message, when that fails.
    void start();
    // Ends the recording as Stop does; a phone is told to stop measuring,
    // and finished() comes once it has answered (or failed to).
    void stop();

    bool recording() const { return recording_; }
    const std::optional<std::string>& header() const { return header_; }
    std::size_t rows() const { return rows_; }
    // The lines that could not be read, counted, or empty.
    std::string unreadMessage() const;

signals:
    // The header, before the first rows.
    void headerReady(const QString& header);
    void rowsArrived(const QStringList& rows);
    // The recording ended: why, when that is worth a message (the device
    // went away, the phone changed its experiment), else empty.
    void finished(const QString& message);
    // It could not start: the port cannot be opened, the phone does not answer.
    void failedToStart(const QString& message);

private:
    void startSerial();
    void readSerial();
    void startPhone();
    void askPhone(const QString& request, void (RecordingSession::*answered)(QNetworkReply*));
    void phoneConfigured(QNetworkReply* reply);
    void phoneReached(QNetworkReply* reply);
    void phoneStarted(QNetworkReply* reply);
    void phoneStopped(QNetworkReply* reply);
    void phoneAnswered(QNetworkReply* reply);
    void pollPhone();
    void startMicrophone();
    void readMicrophone();
    void deliver(std::vector<std::string> rows);
    void end(const QString& message);

    RecordSettings settings_;
    bool recording_ = false;
    QElapsedTimer clock_;
    QTimer stopTimer_;
    std::optional<std::string> header_;
    std::size_t rows_ = 0;
    // The board:
    std::unique_ptr<QSerialPort> port_;
    std::unique_ptr<LineRecorder> recorder_;
    // A board already streaming when the port opened: what came before its
    // first line break is the rest of a cut line, left out.
    bool skippingCutLine_ = false;
    // The sound input: its samples as lines for the recorder, and the rate
    // it really delivers.
    std::unique_ptr<QAudioSource> audio_;
    QIODevice* audioInput_ = nullptr;
    int audioRate_ = 0;
    std::size_t samples_ = 0;
    QString rateNote_;
    // The phone:
    QNetworkAccessManager* network_ = nullptr;
    ExportSet set_;
    std::optional<double> lastTime_;
    std::string session_;
    QTimer pollTimer_;
};
