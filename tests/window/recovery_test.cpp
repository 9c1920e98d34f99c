// A crash or a power cut loses nothing: the recovery file follows the box,
// a normal close removes it, and a start after a crash offers the text back.
#include "app/form1.h"
#include "app/recovery_keeper.h"
#include "data/recovery.h"

#include "dialog_script.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// A process number no program has: above the largest Linux gives.
constexpr long endedProgram = 4999999;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    std::filesystem::path lab() const
    {
        return std::filesystem::path(home_.path().toStdString()) / "labfiles";
    }
    QString fileOf(long processId) const
    {
        return QString::fromStdString(recoveryFile(lab(), processId).string());
    }
    static QPlainTextEdit* box(Form1& window) { return window.findChild<QPlainTextEdit*>("Text1"); }

private slots:
    void init() { QDir(QString::fromStdString(lab().string())).removeRecursively(); }

    void aStartAfterACrashOffersTheTextBack_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("put back") << QMessageBox::Yes << "t (s),x (m)\n0,1.5\n\n1,2.5";
        QTest::newRow("let go") << QMessageBox::No << "Enter Data Here";
    }

    void aStartAfterACrashOffersTheTextBack()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, expected);
        QDir().mkpath(QString::fromStdString(lab().string()));
        const QString left = fileOf(endedProgram);
        writeFile(left, "t (s),x (m)\r\n0,1.5\r\n\r\n1,2.5");
        const QString time = QFileInfo(left).lastModified().toString("HH:mm");
        QString question;
        answerNextDialog<QMessageBox>([&](QMessageBox* asked) {
            question = asked->text();
            asked->button(answer)->click();
        });
        Form1 window(lab());
        window.show();
        QTRY_VERIFY(!question.isEmpty());
        QCOMPARE(question, "Bench Tabler was not closed normally. Put back the text it held (3 "
                           "lines, saved at " +
                               time + ")?");
        QCOMPARE(box(window)->toPlainText(), expected);
        QVERIFY(!QFileInfo::exists(left));
        if (answer == QMessageBox::Yes) { // one undo step, as opening a file
            box(window)->undo();
            QCOMPARE(box(window)->toPlainText(), QString("Enter Data Here"));
        }
    }

    void theFileFollowsTheBoxAndANormalCloseRemovesIt()
    {
        Form1 window(lab());
        window.show();
        QString lines;
        for (int i = 0; i < 1000; ++i)
            lines += QString::number(i * 0.5) + "," + QString::number(i * 0.25) + "\n";
        box(window)->setPlainText(lines);
        const QString mine = fileOf(QCoreApplication::applicationPid());
        QElapsedTimer held;
        held.start();
        window.recovery()->keepNow();
        const qint64 nanoseconds = held.nsecsElapsed();
        qInfo("the window was held %lld µs for a 1000-line box", nanoseconds / 1000);
#ifndef __SANITIZE_ADDRESS__
        QVERIFY(nanoseconds < 1000000); // the disk is the thread's business
#endif
        window.recovery()->waitForDisk();
        QCOMPARE(QString::fromUtf8(readFile(mine)), lines.replace("\n", "\r\n"));

        answerNextDialog<QMessageBox>(
            [](QMessageBox* asked) { asked->button(QMessageBox::Discard)->click(); });
        QVERIFY(window.close());
        QVERIFY(!QFileInfo::exists(mine));
    }

    // A recording's rows go to the end of the file without the whole box
    // being read again; anything else, or a file that is not what the keeper
    // left, has the box written whole.
    void addedTextGoesToTheEndOfTheFile_data()
    {
        QTest::addColumn<QString>("steps"); // w: the box changed, a: text added, x: file removed
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("wholeReads");
        QTest::newRow("added") << "w a a" << QByteArray("w\r\n1\r\n2") << 1;
        QTest::newRow("added twice before a keep") << "w aa" << QByteArray("w\r\n1\r\n2") << 1;
        QTest::newRow("changed after") << "w a w" << QByteArray("w") << 2;
        QTest::newRow("added after a change") << "w a wa" << QByteArray("w\r\n2") << 2;
        QTest::newRow("file removed") << "w x a a" << QByteArray("w\r\n1\r\n2") << 2;
    }

    void addedTextGoesToTheEndOfTheFile()
    {
        QFETCH(QString, steps);
        QFETCH(QByteArray, file);
        QFETCH(int, wholeReads);
        QDir().mkpath(QString::fromStdString(lab().string()));
        const QString path = fileOf(endedProgram);
        std::string box;
        int reads = 0, added = 0;
        RecoveryKeeper keeper(path.toStdString(), [&]() -> std::optional<std::string> {
            ++reads;
            return box;
        });
        // Each group of steps, then a keep.
        for (const QString& group : steps.split(' ')) {
            for (const QChar step : group) {
                if (step == 'w') {
                    box.assign(1, 'w'); // not = "w", which GCC 12 warns of wrongly (-Wrestrict)
                    keeper.boxChanged();
                } else if (step == 'a') {
                    const std::string text = "\r\n" + std::to_string(++added);
                    box += text;
                    keeper.boxAppended(text);
                } else {
                    QVERIFY(QFile::remove(path));
                }
            }
            keeper.keepNow();
            keeper.waitForDisk();
        }
        // A keep after a failed addition writes the box whole.
        keeper.keepNow();
        keeper.waitForDisk();
        QCOMPARE(readFile(path), file);
        QCOMPARE(QByteArray::fromStdString(box), file);
        QCOMPARE(reads, wholeReads);
    }

    void aFileOfARunningProgramIsLeftAlone()
    {
        QDir().mkpath(QString::fromStdString(lab().string()));
        const QString running = fileOf(getppid()); // another window of the program, say
        const QString ended = fileOf(endedProgram);
        writeFile(running, "1\r\n2");
        writeFile(ended, "3\r\n4");
        QStringList questions;
        answerNextDialog<QMessageBox>([&](QMessageBox* asked) {
            questions << asked->text();
            asked->button(QMessageBox::No)->click();
        });
        Form1 window(lab());
        window.show();
        QTRY_COMPARE(questions.size(), 1);
        QTest::qWait(100); // no second question comes
        QCOMPARE(questions.size(), 1);
        QVERIFY(QFileInfo::exists(running));
        QVERIFY(!QFileInfo::exists(ended));
    }
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
