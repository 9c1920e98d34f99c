// "Save for a spreadsheet..." from the box's menu and from the graph window:
// the workbook read back, the fits the graph shows in it, and a million rows
// written on a thread of their own while the window stays usable, with a
// progress bar whose Cancel leaves no file.
#include "app/form1.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"
#include "app/workbook_export.h"

#include "dialog_script.h"
#include "workbook_reader.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const pendulum = "L = 0.5 m\nt (s),x (cm)\n0,1\n1,3.1\n2,4.9\n3,7.1\n\n"
                             "L = 1 m\nt (s),x (cm)\n0,0\n1,1.9\n2,4.2\n3,6\n";

template <typename Widget> Widget* named(QWidget& window, const QString& name)
{
    for (Widget* widget : window.findChildren<Widget*>())
        if (widget->accessibleName() == name)
            return widget;
    return nullptr;
}

QPushButton* buttonCalled(QWidget& window, const QString& caption)
{
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == caption)
            return button;
    return nullptr;
}

void chooseFile(QFileDialog* dialog, const QString& path)
{
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

std::vector<std::string> sheetNames(const ReadWorkbook& workbook)
{
    std::vector<std::string> names;
    for (const ReadSheet& sheet : workbook.sheets)
        names.push_back(sheet.name);
    return names;
}

} // namespace

class WorkbookTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;

    std::filesystem::path lab() const
    {
        return std::filesystem::path(home_.path().toStdString()) / "labfiles";
    }
    static QPlainTextEdit* box(Form1& window) { return window.findChild<QPlainTextEdit*>("Text1"); }

    // Chooses `path` in the file dialog that `ask` opens and closes the
    // message that says what was written; its text.
    static QString saveAndRead(const QString& path, const std::function<void()>& ask)
    {
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) { chooseFile(dialog, path); });
        QString message;
        closeNextMessage(&message);
        ask();
        if (!QTest::qWaitFor([&] { return !message.isEmpty(); }, 10000))
            return QStringLiteral("no message");
        return message;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void theBoxsMenuSavesEveryBlockAsASheet()
    {
        Form1 window(lab());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box(window)->setPlainText(pendulum);
        const QString path = home_.path() + "/from the box.xlsx";
        const QString message = saveAndRead(path, [&] {
            emit box(window)->customContextMenuRequested(QPoint(10, 10));
            QMenu* menu = nullptr;
            QVERIFY(QTest::qWaitFor([&] {
                menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                return menu != nullptr;
            }));
            for (QAction* action : menu->actions())
                if (action->text() == "Save for a spreadsheet...")
                    action->trigger();
            menu->close();
        });
        QCOMPARE(message, "2 sheets, 8 rows, saved to " + path);
        const ReadWorkbook workbook = readWorkbook(path.toStdString());
        QCOMPARE(sheetNames(workbook), (std::vector<std::string>{"L = 0.5 m", "L = 1 m"}));
        QCOMPARE(workbook.sheets[1].at(0, 1)->value, std::string("x (cm)"));
        QCOMPARE(numberOf(workbook.sheets[1].at(2, 1)->value), 1.9);
    }

    void theGraphWindowAddsTheFitsItShows()
    {
        Form1 window(lab());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box(window)->setPlainText(pendulum);
        QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QVERIFY(graph);
        named<QComboBox>(*graph, "x")->setCurrentIndex(1);
        named<QComboBox>(*graph, "fit")->setCurrentText("straight line y = m x + b");
        graph->replot();
        QVERIFY2(graph->noteText().contains("m = "), qPrintable(graph->noteText()));
        const QString path = home_.path() + "/fitted.xlsx";
        const QString message = saveAndRead(
            path, [&] { buttonCalled(*graph, "Save for a spreadsheet...")->click(); });
        QCOMPARE(message, "3 sheets, 8 rows, saved to " + path);
        const ReadWorkbook workbook = readWorkbook(path.toStdString());
        QCOMPARE(sheetNames(workbook), (std::vector<std::string>{"L = 0.5 m", "L = 1 m", "fits"}));
        const ReadSheet& fits = workbook.sheets[2];
        QCOMPARE(fits.at(1, 0)->value, std::string("L = 0.5 m"));
        QCOMPARE(fits.at(0, 3)->value, std::string("m (cm/s)"));
        const CurveFit& fit = *graph->graph()->plot().fit;
        QVERIFY(std::abs(numberOf(fits.at(1, 3)->value) - fit.values[0]) <= 1e-15 * fit.values[0]);
    }

    // A million rows take seconds: the window answers meanwhile, the bar
    // shows how far it is, and Cancel leaves no file.
    void aMillionRowsAreWrittenOffTheWindowsThreadAndCancelLeavesNoFile()
    {
        Form1 window(lab());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        std::string text = "t (s),U (V),I (A)\r\n";
        for (int r = 0; r < 1000000; ++r)
            text += std::to_string(r) + ".001," + std::to_string(r % 977) + ".5,0.25\r\n";
        const QString path = home_.path() + "/million.xlsx";

        WorkbookExport* exporting = WorkbookExport::start(&window, {text, ','}, {}, path);
        QSignalSpy ended(exporting, &WorkbookExport::ended);
        QVERIFY(QTest::qWaitFor([&] { return exporting->progress()->isVisible(); }, 10000));
        QVERIFY(QTest::qWaitFor([&] { return exporting->progress()->value() > 0; }, 40000));
        // The window answers: typing reaches the box while the thread writes.
        box(window)->setFocus();
        QTest::keyClicks(box(window), "still here");
        QVERIFY(box(window)->toPlainText().contains("still here"));
        QVERIFY(ended.isEmpty());
        buttonCalled(*exporting->progress(), "Cancel")->click();
        QVERIFY(ended.wait(20000));
        QCOMPARE(ended.first().first().toString(), QString());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(path + ".saving"));

        // Written to the end (a tenth of the rows, for the test's time): the
        // note, after the bar. The message box is answered once the export
        // has ended, however long it took.
        text.resize(text.find("100000.001,"));
        QString message;
        WorkbookExport* whole = WorkbookExport::start(&window, {text, ','}, {}, path);
        connect(whole, &WorkbookExport::ended, this, [&message] { closeNextMessage(&message); });
        QVERIFY(QTest::qWaitFor([&] { return !message.isEmpty(); }, 120000));
        QCOMPARE(message, "1 sheet, 100 000 rows, saved to " + path);
        QVERIFY(QFile(path).size() > 100000);
    }
};

QTEST_MAIN(WorkbookTest)
#include "workbook_test.moc"
