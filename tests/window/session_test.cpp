// A lab to come back to: a session saved and opened again shows what it
// showed, a template opens as a new session, the close question is about
// the session, and a crash gives back the graph's choices with the text.
#include "app/form1.h"
#include "app/graph_window.h"
#include "app/recovery_keeper.h"
#include "data/recovery.h"

#include "dialog_script.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr long endedProgram = 4999998;

const char* const twoBlocks =
    "Pendulum lab\n"
    "L (m),T (s)\n0.2,0.90\n0.4,1.27\n0.6,1.55\n0.8,1.80\n1.0,2.01\n\n"
    "L (m),T^2 (s^2)\n0.2,0.81\n0.4,1.613\n0.6,2.403\n0.8,3.24\n1.0,4.040";

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename Widget> Widget* named(QWidget& window, const QString& name)
{
    for (Widget* widget : window.findChildren<Widget*>())
        if (widget->accessibleName() == name)
            return widget;
    return nullptr;
}

void chooseFile(QFileDialog* dialog, const QString& path)
{
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    std::filesystem::path lab() const
    {
        return std::filesystem::path(home_.path().toStdString()) / "labfiles";
    }
    static QPlainTextEdit* box(Form1& window) { return window.findChild<QPlainTextEdit*>("Text1"); }

    // The second block fitted for g, with a title and a result.
    static GraphWindow* pendulumFitted(Form1& window)
    {
        box(window)->setPlainText(twoBlocks);
        QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QComboBox* data = named<QComboBox>(*graph, "data");
        data->setCurrentIndex(1);
        emit data->activated(1);
        named<QComboBox>(*graph, "fit")->setCurrentText("proportional y = A x");
        named<QLineEdit>(*graph, "title")->setText("g from T² against L");
        named<QLineEdit>(*graph, "result")->setText("g = 4*pi^2/A");
        named<QLineEdit>(*graph, "from")->setText("0,3");
        graph->replot();
        return graph;
    }

    bool saveWithCtrlS(Form1& window, const QString& path)
    {
        bool asked = false;
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            asked = true;
            chooseFile(dialog, path);
        });
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
        return asked;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QDir(QString::fromStdString(lab().string())).removeRecursively(); }

    void aSessionOpensAsItWasSaved()
    {
        const QString path = home_.path() + "/pendulum.btsession";
        QString shown, box1;
        {
            Form1 window(lab());
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            GraphWindow* graph = pendulumFitted(window);
            shown = graph->noteText();
            QVERIFY2(shown.contains("g = 9."), qPrintable(shown));
            QVERIFY(shown.contains("fitted from x = 0.3"));
            QVERIFY(saveWithCtrlS(window, path));
            QCOMPARE(window.sessionFile(), path);
            QCOMPARE(graph->windowTitle(), QString("Bench Tabler - Graph - pendulum.btsession"));
            QCOMPARE(window.windowTitle(), QString("Form1"));
            box1 = box(window)->toPlainText();
            QVERIFY(window.close()); // saved: nothing asked
        }
        Form1 again(lab());
        again.show();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        QVERIFY(again.openSession(path));
        QCOMPARE(box(again)->toPlainText(), box1);
        GraphWindow* graph = again.findChild<GraphWindow*>();
        QVERIFY(graph && graph->isVisible());
        QCOMPARE(graph->noteText(), shown);
        QCOMPARE(named<QLineEdit>(*graph, "title")->text(), QString("g from T² against L"));
        QCOMPARE(named<QComboBox>(*graph, "data")->currentIndex(), 1);
        QCOMPARE(again.sessionFile(), path);
        const QByteArray saved = readFile(path);
        // Its own file: Ctrl+S asks nothing and writes the same session, byte for byte.
        bool asked = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                asked = true;
                dialog->reject();
            }
        });
        watch.start(10);
        QFile::remove(path);
        again.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        QTest::keyClick(&again, Qt::Key_S, Qt::ControlModifier);
        QTest::qWait(200);
        watch.stop();
        QVERIFY(!asked);
        QCOMPARE(readFile(path), saved);
    }

    void theCloseQuestionIsAboutTheSession()
    {
        const QString path = home_.path() + "/closing.btsession";
        Form1 window(lab());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        GraphWindow* graph = pendulumFitted(window);
        QVERIFY(saveWithCtrlS(window, path));
        named<QLineEdit>(*graph, "title")->setText("another title"); // a change of a choice
        QString question;
        answerNextDialog<QMessageBox>([&](QMessageBox* asked) {
            question = asked->text();
            asked->button(QMessageBox::Cancel)->click();
        });
        QVERIFY(!window.close());
        QCOMPARE(question, QString("The session closing.btsession has changes that are not "
                                   "saved. Save the session before closing?"));
        answerNextDialog<QMessageBox>(
            [](QMessageBox* asked) { asked->button(QMessageBox::Save)->click(); });
        QVERIFY(window.close());
        Form1 again(lab());
        QVERIFY(again.openSession(path));
        QCOMPARE(named<QLineEdit>(*again.findChild<GraphWindow*>(), "title")->text(),
                 QString("another title"));
    }

    void aTemplateOpensAsANewSession()
    {
        const QString prepared = home_.path() + "/experiment.btsession";
        const QString student = home_.path() + "/my lab.btsession";
        {
            Form1 teacher(lab());
            teacher.show();
            QVERIFY(QTest::qWaitForWindowActive(&teacher));
            pendulumFitted(teacher);
            answerNextDialog<QFileDialog>(
                [&](QFileDialog* dialog) { chooseFile(dialog, prepared); });
            QMetaObject::invokeMethod(&teacher, "saveSessionAsTemplate");
            QVERIFY(QFile::exists(prepared));
            QCOMPARE(teacher.sessionFile(), QString());
            answerNextDialog<QMessageBox>(
                [](QMessageBox* asked) { asked->button(QMessageBox::Discard)->click(); });
            teacher.close();
        }
        const QByteArray original = readFile(prepared);
        Form1 window(lab());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.loadFile(prepared));
        QCOMPARE(window.sessionFile(), QString()); // new and unnamed
        QVERIFY(box(window)->toPlainText().startsWith("Pendulum lab"));
        QVERIFY(saveWithCtrlS(window, student)); // the first save asks for a name
        QCOMPARE(window.sessionFile(), student);
        QCOMPARE(readFile(prepared), original);
    }

    void aFileThatIsNoSessionIsRefusedByName()
    {
        const QString cut = home_.path() + "/cut.btsession";
        QFile file(cut);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Bench Tabler session 1\nchoices 999\n{");
        file.close();
        Form1 window(lab());
        window.show();
        box(window)->setPlainText("kept");
        QString shown;
        closeNextMessage(&shown);
        QVERIFY(!window.openSession(cut));
        QCOMPARE(shown, "could not open " + cut + ": the session is cut short or damaged");
        QCOMPARE(box(window)->toPlainText(), QString("kept"));
    }

    // After a crash, the graph's choices come back with the text.
    void aCrashGivesBackTheGraphsChoicesWithTheText()
    {
        QDir().mkpath(QString::fromStdString(lab().string()));
        const std::filesystem::path mine = recoveryFile(lab(), QCoreApplication::applicationPid());
        {
            Form1 window(lab());
            window.show();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            pendulumFitted(window);
            window.recovery()->keepNow();
            window.recovery()->waitForDisk();
            QMetaObject::invokeMethod(&window, "keepChoicesForRecovery");
            QVERIFY(std::filesystem::exists(recoveryChoicesFile(mine)));
            // The program "crashes": its files stay, under a process that has ended.
            std::filesystem::copy_file(mine, recoveryFile(lab(), endedProgram));
            std::filesystem::copy_file(recoveryChoicesFile(mine),
                                       recoveryChoicesFile(recoveryFile(lab(), endedProgram)));
            answerNextDialog<QMessageBox>(
                [](QMessageBox* asked) { asked->button(QMessageBox::Discard)->click(); });
            window.close();
        }
        answerNextDialog<QMessageBox>(
            [](QMessageBox* asked) { asked->button(QMessageBox::Yes)->click(); });
        Form1 window(lab());
        window.show();
        QTRY_VERIFY(box(window)->toPlainText().startsWith("Pendulum lab"));
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QVERIFY(graph && graph->isVisible());
        QCOMPARE(named<QLineEdit>(*graph, "title")->text(), QString("g from T² against L"));
        QVERIFY2(graph->noteText().contains("g = 9."), qPrintable(graph->noteText()));
        QVERIFY(!std::filesystem::exists(recoveryChoicesFile(recoveryFile(lab(), endedProgram))));
    }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
