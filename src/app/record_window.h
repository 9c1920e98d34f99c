#pragma once

#include "record/recording_session.h"
#include "session/session.h"

#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The separate window "Bench Tabler - Record": where to record from (a
// serial port found, or typed as a device, or a phone running phyphox at an
// address), its speed, the computer's time as a first column, when to stop
// and a trigger; Start and Stop (Space), the count of lines and their rate,
// and one line for messages. What is recorded goes to the box through the
// signals; the window only asks for it.
class RecordWindow : public QWidget {
    Q_OBJECT

public:
    // `delimiter` gives the box's delimiter when a recording starts.
    RecordWindow(std::function<char()> delimiter, QWidget* parent);
    ~RecordWindow() override;

public slots:
    void showAndRaise();

public:
    bool recording() const;
    // The line of messages under the buttons.
    QString message() const;
    // What a session keeps of the window, and shows again.
    RecordChoices choices() const;
    void setChoices(const RecordChoices& choices);

public slots:
    void startOrStop();

signals:
    void recordingStarted();
    void headerReady(const QString& header);
    void rowsArrived(const QStringList& rows);
    void recordingEnded();

private:
    void layOutControls();
    void refreshPorts();
    void sourceChosen();
    std::optional<RecordSettings> settingsFromFields();
    void start();
    void ended(const QString& message);
    void showProgress();
    QString chosenPort();

    std::function<char()> delimiter_;
    std::unique_ptr<RecordingSession> session_;
    QComboBox* source_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QComboBox* speed_ = nullptr;
    QLabel* speedLabel_ = nullptr;
    QComboBox* rate_ = nullptr; // a sound input's samples a second
    QLabel* rateLabel_ = nullptr;
    QCheckBox* hostTime_ = nullptr;
    QComboBox* stopAfter_ = nullptr;
    QLineEdit* stopValue_ = nullptr;
    QCheckBox* trigger_ = nullptr;
    QSpinBox* triggerColumn_ = nullptr;
    QLineEdit* triggerLevel_ = nullptr;
    QSpinBox* triggerBefore_ = nullptr;
    QLineEdit* heading_ = nullptr;
    QPushButton* startStop_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer portWatch_;
    QTimer progressTimer_;
    QElapsedTimer clock_;
    // The board last recorded from, to find it again after it was unplugged.
    QString boardIdentity_;
};
