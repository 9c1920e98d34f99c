// Recording from a sound input without a sound card: the test starts a
// PulseAudio daemon of its own, whose pipe source "fork" plays what the
// test writes into its pipe (a tuning fork's tone, a clap), and points Qt at
// it with PULSE_SERVER. The batch and the record window record from it.
#include "app/form1.h"
#include "app/linked_devices.h"
#include "app/record_window.h"
#include "batch/batch_record.h"
#include "batch/batch_run.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <functional>
#include <numbers>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

constexpr int rate = 8000;

// A PulseAudio daemon with a null sink and a pipe source, for this test only.
class SoundServer {
public:
    SoundServer()
    {
        QDir(directory_.path()).mkpath(QStringLiteral("run"));
        QFile config(directory_.filePath(QStringLiteral("default.pa")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write(QStringLiteral(
                         "load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n"
                         "load-module module-null-sink sink_name=silence\n"
                         "load-module module-pipe-source source_name=fork file=%2 "
                         "format=s16le rate=%3 channels=1\n"
                         "set-default-source fork\n")
                         .arg(socket(), pipe())
                         .arg(rate)
                         .toUtf8());
        config.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), directory_.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), directory_.filePath("run"));
        daemon_.setProcessEnvironment(environment);
        daemon_.start(QStringLiteral("pulseaudio"),
                      {QStringLiteral("-n"), QStringLiteral("-F"), config.fileName(),
                       QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                       QStringLiteral("--use-pid-file=no"), QStringLiteral("--log-target=stderr")});
        for (int waited = 0; waited < 10000 && !QFile::exists(pipe()); waited += 20)
            QTest::qWait(20);
        qputenv("PULSE_SERVER", ("unix:" + socket()).toUtf8());
    }
    ~SoundServer()
    {
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    bool running() const { return daemon_.state() == QProcess::Running && QFile::exists(pipe()); }
    QString pipe() const { return directory_.filePath(QStringLiteral("fork.pipe")); }

    // Plays the samples (-1...1) into the pipe source after `delay`, from a
    // thread of its own: the pipe takes them as the source reads them.
    std::thread play(std::vector<double> samples, std::chrono::milliseconds delay) const
    {
        return std::thread([path = pipe().toStdString(), samples = std::move(samples), delay] {
            std::this_thread::sleep_for(delay);
            std::vector<std::int16_t> pcm;
            for (double v : samples)
                pcm.push_back(static_cast<std::int16_t>(std::lround(v * 32767)));
            const int file = ::open(path.c_str(), O_WRONLY);
            if (file < 0)
                return;
            const auto* bytes = reinterpret_cast<const char*>(pcm.data());
            std::size_t left = pcm.size() * sizeof(std::int16_t);
            while (left > 0) {
                const ssize_t written = ::write(file, bytes, left);
                if (written <= 0)
                    break;
                bytes += written;
                left -= static_cast<std::size_t>(written);
            }
            ::close(file);
        });
    }

private:
    QString socket() const { return directory_.filePath(QStringLiteral("native")); }

    QTemporaryDir directory_;
    QProcess daemon_;
};

std::vector<double> tone(double frequency, double seconds, double amplitude)
{
    std::vector<double> samples;
    for (int i = 0; i < seconds * rate; ++i)
        samples.push_back(amplitude * std::sin(2 * std::numbers::pi * frequency * i / rate));
    return samples;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

} // namespace

class SoundInputTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    std::unique_ptr<SoundServer> server_;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        useLinkedDevices(linkedDevices());
        server_ = std::make_unique<SoundServer>();
        QVERIFY2(server_->running(), "pulseaudio did not start: the set-up step installs it");
    }
    void cleanupTestCase() { server_.reset(); }

    // A fork's 440 Hz for a second: 8000 rows at the source's rate, whose
    // spectrum finds the pitch.
    void theBatchRecordsASoundInputForItsSeconds()
    {
        std::thread player = server_->play(tone(440, 1.5, 0.5), std::chrono::milliseconds(300));
        const BatchResult recorded =
            runRecord({"record", "--audio", "fork", "--rate", "8000", "--seconds", "1"});
        player.join();
        QCOMPARE(recorded.exitStatus, 0);
        const std::vector<std::string> lines = linesOf(recorded.out);
        QCOMPARE(lines.size(), std::size_t(8001));
        QCOMPARE(lines[0], std::string("t (s),left"));
        QCOMPARE(lines[2].substr(0, lines[2].find(',')), std::string("0.000125"));
        QCOMPARE(lines[8000].substr(0, lines[8000].find(',')), std::string("0.999875"));
        std::istringstream box(recorded.out);
        const BatchResult spectrum = runBatch({"spectrum"}, box);
        QVERIFY2(spectrum.out.find("peak at 440.00") != std::string::npos, spectrum.out.c_str());

        const BatchResult missing =
            runRecord({"record", "--audio", "no such input", "--seconds", "1"});
        QCOMPARE(missing.exitStatus, 2);
        QVERIFY(missing.err.find("there is no sound input named \"no such input\"") !=
                std::string::npos);
        QCOMPARE(runRecord({"record", "--audio", "--rate", "96000", "--seconds", "1"}).exitStatus, 2);
        QCOMPARE(runRecord({"record", "--port", "x", "--rate", "8000", "--lines", "1"}).exitStatus, 2);
    }

    // Silence, then a clap: the recording starts as the level rises above
    // 0.5, keeping the 50 samples before it.
    void aClapTriggersTheRecording()
    {
        std::vector<double> sound(2400, 0.0);
        for (int i = 0; i < 800; ++i)
            sound.push_back(0.9 * std::exp(-i / 200.0) * (i % 8 < 4 ? 1 : -1));
        std::thread player = server_->play(sound, std::chrono::milliseconds(300));
        const BatchResult recorded = runRecord({"record", "--audio", "fork", "--rate", "8000",
                                                "--lines", "100", "--trigger", "1:0.5",
                                                "--before", "50"});
        player.join();
        QCOMPARE(recorded.exitStatus, 0);
        const std::vector<std::string> lines = linesOf(recorded.out);
        QCOMPARE(lines.size(), std::size_t(101));
        const auto level = [&](std::size_t row) {
            return std::stod(lines[row].substr(lines[row].find(',') + 1));
        };
        for (std::size_t row = 1; row <= 50; ++row)
            QVERIFY2(level(row) <= 0.5, lines[row].c_str());
        QVERIFY2(level(51) > 0.5, lines[51].c_str());
    }

    // The record window offers the sound input by its name, with a sample
    // rate, and its recording goes into the box as a run.
    void theRecordWindowRecordsTheMicrophone()
    {
        Form1 window(home_.path().toStdString());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
        auto* record = window.findChild<RecordWindow*>();
        QVERIFY(record);
        QComboBox *source = nullptr, *sampleRate = nullptr, *stopAfter = nullptr;
        for (QComboBox* list : record->findChildren<QComboBox*>()) {
            if (list->accessibleName() == "source")
                source = list;
            if (list->accessibleName() == "sample rate")
                sampleRate = list;
            if (list->accessibleName() == "stop after")
                stopAfter = list;
        }
        QVERIFY(source && sampleRate && stopAfter);
        QVERIFY(!sampleRate->isVisible());
        int fork = -1;
        for (int i = 0; i < source->count(); ++i)
            if (source->itemText(i).startsWith("microphone: ") && fork < 0)
                fork = i;
        QVERIFY2(fork >= 0, "no microphone offered");
        source->setCurrentIndex(fork);
        QVERIFY(sampleRate->isVisible());
        sampleRate->setCurrentText("8000");
        stopAfter->setCurrentIndex(1); // seconds
        for (QLineEdit* field : record->findChildren<QLineEdit*>())
            if (field->accessibleName() == "stop after value")
                field->setText("0.5");
        std::thread player;
        for (QPushButton* button : record->findChildren<QPushButton*>())
            if (button->text() == "Start") {
                button->click();
                player = server_->play(tone(440, 1, 0.5), std::chrono::milliseconds(200));
            }
        QVERIFY(record->recording());
        QTRY_VERIFY_WITH_TIMEOUT(!record->recording(), 10000);
        player.join();
        const QStringList lines =
            window.findChild<QPlainTextEdit*>("Text1")->toPlainText().split('\n');
        const qsizetype header = lines.indexOf("t (s),left");
        QVERIFY2(header > 0, qPrintable(lines.mid(0, 5).join('|')));
        QCOMPARE(lines[header - 1], QString("run 1"));
        QCOMPARE(lines.size() - header - 1, qsizetype(4000));
    }
};

QTEST_MAIN(SoundInputTest)
#include "sound_input_test.moc"
