// Recording from a board and from a phone, without hardware: a
// pseudo-terminal pair is the board (the test writes to its master, the
// program reads its slave as a serial port), a local HTTP server the phone.
#include "app/form1.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"
#include "app/linked_devices.h"
#include "app/record_window.h"
#include "batch/batch_record.h"
#include "data/recovery.h"
#include "record/recording_session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrlQuery>

#include <cmath>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

// A board: the master side of a pseudo-terminal in raw mode.
class Board {
public:
    Board()
    {
        char name[256];
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            qFatal("openpty failed");
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
        device_ = QString::fromLocal8Bit(name);
    }
    ~Board()
    {
        unplug();
        if (slave_ >= 0)
            ::close(slave_);
    }
    const QString& device() const { return device_; }
    void send(const QByteArray& bytes)
    {
        if (::write(master_, bytes.constData(), static_cast<std::size_t>(bytes.size())) < 0)
            qWarning("the board could not write");
    }
    // The cable pulled: the master closes, the program's reads fail.
    void unplug()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }
    // The test's own copy of the slave closes, so that only the program holds it.
    void letGo()
    {
        if (slave_ >= 0)
            ::close(slave_);
        slave_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString device_;
};

// A phone running phyphox: an export set "Acceleration" of a time buffer t
// and a value buffer ax; each request for data finds `perRequest` new
// measurements; the session can be switched.
class Phone : public QObject {
public:
    int perRequest = 7;
    QString session = QStringLiteral("6dd4a0");
    QStringList requests;
    bool started = false;

    Phone()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }
    double timeOf(int i) const { return 0.005 * i; }

private:
    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->readAll();
        const QByteArray target = request.split(' ').value(1);
        requests << QString::fromLatin1(target);
        const QUrl url(QStringLiteral("http://phone") + QString::fromLatin1(target));
        QByteArray body;
        if (url.path() == QLatin1String("/config")) {
            body = R"j({"crc32": "1", "title": "Acceleration", "export": [{"set": "Acceleration",
                     "sources": [{"label": "t (s)", "buffer": "t"},
                                 {"label": "a (m/s^2)", "buffer": "ax"}]}]})j";
        } else if (url.path() == QLatin1String("/control")) {
            started =
                QUrlQuery(url).queryItemValue(QStringLiteral("cmd")) == QLatin1String("start");
            body = R"({"result": true})";
        } else {
            body = data(QUrlQuery(url));
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }

    // The measurements after the threshold asked for, "full" for all, the
    // last alone for none ("/get?t"). The phone measures while started, and
    // keeps its buffers from one recording to the next.
    QByteArray data(const QUrlQuery& query)
    {
        if (started)
            measured_ += perRequest;
        const QString threshold = query.queryItemValue(QStringLiteral("t"));
        const bool lastOnly = threshold.isEmpty();
        const double after = threshold == QLatin1String("full") ? -1 : threshold.toDouble();
        QStringList times, values;
        for (int i = lastOnly ? std::max(measured_ - 1, 0) : 0; i < measured_; ++i)
            if (lastOnly || timeOf(i) > after) {
                times << QString::number(timeOf(i), 'g', 17);
                values << QString::number(std::sin(i * 0.1), 'g', 17);
            }
        return QStringLiteral(
                   R"({"buffer": {"t": {"size": 0, "updateMode": "partial", "buffer": [%1]},
                                  "ax": {"size": 0, "updateMode": "partial", "buffer": [%2]}},
                       "status": {"session": "%3", "measuring": true}})")
            .arg(times.join(QLatin1Char(',')), values.join(QLatin1Char(',')), session)
            .toUtf8();
    }

    QTcpServer server_;
    int measured_ = 0;
};

} // namespace

class RecordTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    std::filesystem::path labDirectory() const { return home_.path().toStdString(); }

    static QPlainTextEdit* box(Form1& window)
    {
        return window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    }
    static RecordWindow* openRecordWindow(Form1& window)
    {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return nullptr;
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
        return window.findChild<RecordWindow*>();
    }
    static QPushButton* startStop(RecordWindow* record)
    {
        for (QPushButton* button : record->findChildren<QPushButton*>())
            if (button->text() == "Start" || button->text() == "Stop")
                return button;
        return nullptr;
    }
    static void chooseDevice(RecordWindow* record, const QString& device)
    {
        for (QComboBox* list : record->findChildren<QComboBox*>())
            if (list->accessibleName() == "source")
                list->setEditText(device);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // The record window linked here, not the program's module: the tests
        // look into it by its class.
        useLinkedDevices(linkedDevices());
    }

    void aBoardsLinesGoToTheBoxAsOneUndoStep()
    {
        Board board;
        Form1 window(labDirectory());
        window.show();
        box(window)->setPlainText("before");
        RecordWindow* record = openRecordWindow(window);
        QVERIFY(record && record->isVisible());
        chooseDevice(record, board.device());
        startStop(record)->click();
        QVERIFY(record->recording());
        QVERIFY(box(window)->isReadOnly());
        board.send("mp:2"); // a first line cut where the port opened
        board.send("1.5,hum:x\r\ntemp:21.5,hum:40.1\r\n");
        board.send("temp:21.6,hum:40");
        board.send(".2\r\nnot a line\r\ntemp:21.7,hum:40.3\r\n");
        QTRY_COMPARE(box(window)->toPlainText(),
                     QString("before\n\nrun 1\ntemp,hum\n21.5,40.1\n21.6,40.2\n21.7,40.3"));
        startStop(record)->click();
        QVERIFY(!record->recording());
        QVERIFY(!box(window)->isReadOnly());
        QCOMPARE(record->message(),
                 QString("1 received line could not be read; it is \"not a line\""));
        box(window)->setFocus();
        QTest::keyClick(box(window), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(window)->toPlainText(), QString("before"));
    }

    // A board already streaming when the port opens: what it sent before
    // Start is left out, and so is the rest of the line it was sending then;
    // no cut line becomes data or the header.
    void aStreamRunningAtStartIsReadFromItsFirstLineBreak()
    {
        Board board;
        Form1 window(labDirectory());
        window.show();
        RecordWindow* record = openRecordWindow(window);
        chooseDevice(record, board.device());
        board.send("t_ms:480 dist:0.50\nt_ms:5"); // waiting in the port before Start
        std::thread stream([&board] {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            board.send("23 dist:0.51\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            board.send("t_ms:540 dist:0.52\nt_ms:560 dist:0.53\n");
        });
        startStop(record)->click();
        stream.join();
        QTRY_COMPARE(box(window)->toPlainText(), QString("run 1\nt_ms,dist\n540,0.52\n560,0.53"));
        startStop(record)->click();
        QCOMPARE(record->message(), QString());

        // Lines a quiet board left in the port before Start are not data.
        Board quiet;
        Form1 other(labDirectory());
        other.show();
        RecordWindow* second = openRecordWindow(other);
        chooseDevice(second, quiet.device());
        quiet.send("1,2\n3,4\n");
        startStop(second)->click();
        QTest::qWait(100);
        quiet.send("5,6\n");
        QTRY_COMPARE(box(other)->toPlainText(), QString("run 1\nvalue 1,value 2\n5,6"));
        startStop(second)->click();
    }

    // A recording into a box that holds one already: the graph shows the
    // new block as it comes in.
    void theGraphFollowsANewRecording()
    {
        Board board;
        Form1 window(labDirectory());
        window.show();
        box(window)->setPlainText("t,x\n0,1\n1,2\n2,3");
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QVERIFY(graph);
        QCOMPARE(graph->graph()->plot().points.size(), 3u);
        RecordWindow* record = openRecordWindow(window);
        chooseDevice(record, board.device());
        startStop(record)->click();
        QTest::qWait(100);
        board.send("t:0,x:5\nt:1,x:6\n");
        QTRY_COMPARE(graph->graph()->plot().points.size(), 2u);
        QCOMPARE(graph->graph()->plot().points.back().y, 6.0);
        for (int i = 2; i < 50; ++i)
            board.send(QByteArray("t:") + QByteArray::number(i) +
                       ",x:" + QByteArray::number(i + 5) + "\n");
        QTRY_COMPARE(graph->graph()->plot().points.size(), 50u); // it grows as it comes in
        // Drawn: the newest point's marker where it lies in the plot shown.
        const QImage shown = graph->graph()->grab().toImage();
        QImage same(shown.size(), QImage::Format_RGB32);
        QPainter painter(&same);
        const GraphPlot& plot = graph->graph()->plot();
        const QRectF area = GraphWidget::draw(painter, same.rect(), plot, false);
        const Point last = plot.points.back();
        const QPoint at(static_cast<int>(area.left() + plot.x.fraction(last.x) * area.width()),
                        static_cast<int>(area.bottom() - plot.y.fraction(last.y) * area.height()));
        const QRgb pixel = shown.pixel(at);
        const QColor colour = GraphWidget::pointColour;
        QVERIFY2(std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
                         std::abs(qBlue(pixel) - colour.blue()) <
                     90,
                 qPrintable(QString::number(pixel, 16)));
        startStop(record)->click();
    }

    // A crash mid-recording loses at most a second: the recovery file takes
    // the rows as they come, the whole box as the first lines' text.
    void theRecoveryFileFollowsTheRecording()
    {
        Board board;
        Form1 window(labDirectory());
        window.show();
        box(window)->setPlainText("before");
        RecordWindow* record = openRecordWindow(window);
        chooseDevice(record, board.device());
        startStop(record)->click();
        const QString kept = QString::fromStdString(
            recoveryFile(labDirectory(), QCoreApplication::applicationPid()));
        const auto fileText = [&] {
            QFile file(kept);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QString expected = "before\r\n\r\nrun 1\r\nvalue 1,value 2";
        for (int second = 0; second < 3; ++second) {
            for (int row = 0; row < 100; ++row) {
                const QString line = QString::number(second * 100 + row) + ",0.5";
                board.send(line.toUtf8() + "\n");
                expected += "\r\n" + line;
            }
            QTRY_COMPARE_WITH_TIMEOUT(fileText(), expected, 2500);
            QVERIFY(record->recording());
        }
        startStop(record)->click();
    }

    // A fast board's rows go into the box a few times a second, not at every
    // read of the port: each time, the box lays out the lines it shows and
    // keeps those layouts while the lines exist.
    void aFastBoardsRowsGoInAFewTimesASecond()
    {
        Board board;
        Form1 window(labDirectory());
        window.show();
        RecordWindow* record = openRecordWindow(window);
        chooseDevice(record, board.device());
        startStop(record)->click();
        QSignalSpy changes(box(window)->document(), &QTextDocument::contentsChanged);
        QElapsedTimer sending;
        sending.start();
        for (int read = 0; read < 100; ++read) {
            board.send(QByteArray::number(read) + ",1\n" + QByteArray::number(read) + ",2\n");
            QTest::qWait(5);
        }
        QTRY_VERIFY(box(window)->toPlainText().endsWith("99,2"));
        const qint64 milliseconds = sending.elapsed();
        qInfo("%lld box changes for 100 reads in %lld ms", static_cast<long long>(changes.size()),
              static_cast<long long>(milliseconds));
        QVERIFY(changes.size() <= milliseconds / 40 + 2);
        QCOMPARE(box(window)->document()->blockCount(), 202); // the heading, the header, 200 rows
        startStop(record)->click();
    }

    void anUnpluggedBoardEndsTheRecordingKeepingEveryLine()
    {
        auto board = std::make_unique<Board>();
        Form1 window(labDirectory());
        window.show();
        RecordWindow* record = openRecordWindow(window);
        chooseDevice(record, board->device());
        startStop(record)->click();
        board->send("1,2\n3,4\n");
        QTRY_VERIFY(box(window)->toPlainText().endsWith("3,4"));
        board->unplug();
        QTRY_VERIFY(!record->recording());
        QVERIFY2(record->message().contains("was disconnected; every line received stays"),
                 qPrintable(record->message()));
        QCOMPARE(box(window)->toPlainText(), QString("run 1\nvalue 1,value 2\n1,2\n3,4"));
    }

    void theTriggerStartsTheRecordingAndTheGraphFollowsIt()
    {
        Board board;
        Form1 window(labDirectory());
        window.show();
        box(window)->clear();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QVERIFY(graph);
        RecordWindow* record = openRecordWindow(window);
        chooseDevice(record, board.device());
        for (QCheckBox* box : record->findChildren<QCheckBox*>())
            if (box->text() == "start when column")
                box->setChecked(true);
        for (QSpinBox* spin : record->findChildren<QSpinBox*>())
            spin->setValue(spin->accessibleName() == "trigger column" ? 2 : 1);
        for (QLineEdit* field : record->findChildren<QLineEdit*>())
            if (field->accessibleName() == "trigger level")
                field->setText("0.5");
        startStop(record)->click();
        board.send("0,0.1\n1,0.2\n2,0.3\n3,0.9\n");
        QTRY_COMPARE(box(window)->toPlainText(), QString("run 1\nvalue 1,value 2\n2,0.3\n3,0.9"));
        for (int i = 4; i < 200; ++i)
            board.send(QByteArray::number(i) + "," + QByteArray::number(i * 0.01) + "\n");
        QTRY_COMPARE(graph->graph()->plot().points.size(), 198u);
        startStop(record)->click();
    }

    void aPhoneIsPolledForItsNewValuesOnly()
    {
        Phone phone;
        RecordSettings settings;
        settings.source = RecordSettings::Source::Phone;
        settings.phone = phone.address();
        settings.stopRows = 40;
        RecordingSession session(settings);
        QStringList rows;
        QString header;
        connect(&session, &RecordingSession::headerReady, this,
                [&](const QString& h) { header = h; });
        connect(&session, &RecordingSession::rowsArrived, this,
                [&](const QStringList& r) { rows << r; });
        QSignalSpy finished(&session, &RecordingSession::finished);
        session.start();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(header, QString("t (s),a (m/s^2)"));
        QCOMPARE(rows.size(), 40);
        for (int i = 0; i < 40; ++i) // none lost, none repeated
            QCOMPARE(rows[i].split(',').front().toDouble(), phone.timeOf(i));
        QVERIFY(phone.requests.contains("/control?cmd=start"));
        QVERIFY(phone.requests.contains("/get?t=full&ax=full"));
        QVERIFY(phone.requests.contains("/get?t=0.03&ax=0.03%7Ct"));
        QTRY_VERIFY(phone.requests.contains("/control?cmd=stop"));
    }

    // A second recording from the same phone takes what is measured after
    // its Start, not the first recording's values again; every recording
    // that ends tells the phone to stop.
    void aSecondRecordingFromAPhoneTakesOnlyItsOwnValues()
    {
        Phone phone;
        RecordSettings settings;
        settings.source = RecordSettings::Source::Phone;
        settings.phone = phone.address();
        settings.stopRows = 20;
        QStringList first, second;
        for (QStringList* rows : {&first, &second}) {
            RecordingSession session(settings);
            connect(&session, &RecordingSession::rowsArrived, this,
                    [rows](const QStringList& r) { *rows << r; });
            QSignalSpy finished(&session, &RecordingSession::finished);
            session.start();
            QTRY_COMPARE(finished.count(), 1);
            QCOMPARE(phone.requests.count("/control?cmd=stop"), rows == &first ? 1 : 2);
            phone.started = false;
        }
        QCOMPARE(first.size(), 20);
        QCOMPARE(second.size(), 20);
        const double firstEnd = first.back().split(',').front().toDouble();
        QVERIFY2(second.front().split(',').front().toDouble() > firstEnd,
                 qPrintable(second.front() + " after " + first.back()));
        QCOMPARE(phone.requests.filter("/get?t=full").size(), 1); // the first recording's only
    }

    void aPhoneThatSwitchesExperimentsOrDoesNotAnswerIsNamed()
    {
        Phone phone;
        RecordSettings settings;
        settings.source = RecordSettings::Source::Phone;
        settings.phone = phone.address();
        RecordingSession session(settings);
        QSignalSpy finished(&session, &RecordingSession::finished);
        QSignalSpy rows(&session, &RecordingSession::rowsArrived);
        session.start();
        QTRY_VERIFY(rows.count() >= 2);
        phone.session = QStringLiteral("another");
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished.front().front().toString().contains("switched to another experiment"));

        settings.phone = QStringLiteral("127.0.0.1:1"); // nothing listens there
        RecordingSession nobody(settings);
        QSignalSpy failed(&nobody, &RecordingSession::failedToStart);
        nobody.start();
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(failed.front().front().toString().startsWith(
            "the phone at 127.0.0.1:1 does not answer"));
    }

    void theBatchRecordsABoardAndAPhone()
    {
        Board board;
        std::thread sender([&board] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            board.send("x\n10;20\n30;40\n50;60\nbad\n70;80\n");
        });
        const BatchResult fromBoard = runRecord({"--delimiter", "tab", "record", "--port",
                                                 board.device().toStdString(), "--lines", "3"});
        sender.join();
        QCOMPARE(fromBoard.exitStatus, 0);
        QCOMPARE(QString::fromStdString(fromBoard.out),
                 QString("value 1\tvalue 2\r\n10\t20\r\n30\t40\r\n50\t60\r\n"));

        Phone phone;
        const BatchResult fromPhone =
            runRecord({"record", "--phyphox", phone.address().toStdString(), "--seconds", "0.3"});
        QCOMPARE(fromPhone.exitStatus, 0);
        QVERIFY(
            QString::fromStdString(fromPhone.out).startsWith("t (s),a (m/s^2)\r\n0,0\r\n0.005,"));
        // The batch's end stops the phone before the batch ends.
        QCOMPARE(phone.requests.last(), QString("/control?cmd=stop"));
        QVERIFY(!phone.started);

        const BatchResult missing =
            runRecord({"record", "--port", "/dev/no-such-board", "--lines", "1"});
        QCOMPARE(missing.exitStatus, 2);
        QVERIFY(missing.out.empty());
        QVERIFY(missing.err.find("could not open /dev/no-such-board") != std::string::npos);
        const BatchResult wrong = runRecord({"record", "--port", "x"});
        QCOMPARE(wrong.exitStatus, 2);
        QVERIFY(wrong.err.find("record needs --lines N or --seconds S") != std::string::npos);
    }
};

QTEST_MAIN(RecordTest)
#include "record_test.moc"
