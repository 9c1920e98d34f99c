#include "app/form1.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"
#include "app/wrapping_button.h"

#include "../data_file_cases.h"
#include "dialog_script.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

namespace {

struct ButtonLayout {
    const char* name;
    const char* caption;
    QRect pixels;
};

// Twips divided by 15, in tab order: the thirteen, then Graph, calculate column
// and record data.
const ButtonLayout buttonLayouts[] = {
    {"cmd_std_dev", "Mean and Standard Deviation", {376, 8, 65, 49}},
    {"cmd_first_difference", "first difference", {376, 64, 65, 41}},
    {"cmd_first_difference_delimited", "first difference delimited", {456, 64, 57, 41}},
    {"cmd_mean_std_dev_delimited", "mean and Std Dev Delimited", {456, 8, 57, 49}},
    {"cmd_difference_quotient", "Difference Quotient", {456, 112, 65, 41}},
    {"cmd_change_delimiter", "Change Delimiter", {376, 272, 65, 41}},
    {"cmd_output_as_delimited_file", "Output as delimited file", {448, 272, 57, 41}},
    {"cmd_genRand", "generate random numbers", {376, 320, 65, 41}},
    {"cmd_running_sum", "Running Sum", {376, 112, 65, 41}},
    {"cmd_clear_box", "Clear Text Box", {376, 368, 65, 41}},
    {"cmd_select_column", "Select Column", {376, 224, 65, 41}},
    {"cmd_change_row_to_column", "change rows to columns", {448, 224, 57, 41}},
    {"cmd_experiment_specific_calculations",
     "experiment-specific calculations",
     {456, 160, 65, 41}},
    {"cmd_graph", "Graph", {376, 160, 65, 41}}, // after the thirteen
    {"cmd_calculate_column", "calculate column", {448, 320, 57, 41}},
    {"cmd_record", "record data", {448, 368, 57, 41}},
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    std::filesystem::path labDirectory() const
    {
        return std::filesystem::path(home_.path().toStdString()) / "labfiles";
    }
    QPushButton* button(Form1& window, const char* name)
    {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QPlainTextEdit* text1(Form1& window) { return window.findChild<QPlainTextEdit*>("Text1"); }
    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Fills a file dialog's name field and accepts it. Where the dialog has
    // chosen a file of its folder in its list, that choice would win over
    // the name: the tests open such dialogs on folders without that file.
    static void chooseFile(QFileDialog* dialog, const QString& path)
    {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    }
    static void chooseFit(GraphWindow* graph, const QString& item)
    {
        for (QComboBox* list : graph->findChildren<QComboBox*>())
            if (list->accessibleName() == "fit")
                list->setCurrentText(item);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

private slots:
    // What the windows remember goes to a test folder, not the user's settings.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Recording lives in the devices' module, loaded on the first click; the
    // program starts without Qt Network, Qt SerialPort and Qt Print Support.
    // (The first test, so that nothing has loaded the module before it.)
    void recordDataLoadsItsWindowOnFirstUse()
    {
        const auto loaded = [](const char* library) {
            QFile maps(QStringLiteral("/proc/self/maps"));
            return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
        };
        QTemporaryDir directory;
        Form1 window(directory.path().toStdString());
        window.show();
        for (const char* library : {"libQt6SerialPort", "libQt6Network", "libQt6PrintSupport"})
            QVERIFY2(!loaded(library), library);
        QWidget* record = nullptr;
        const auto recordWindow = [&record] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->isVisible() && top->windowTitle() == "Bench Tabler - Record")
                    record = top;
            return record;
        };
        QVERIFY(!recordWindow());
        window.findChild<QPushButton*>("cmd_record")->click();
        QVERIFY(recordWindow());
        QVERIFY(record->metaObject()->indexOfSignal("rowsArrived(QStringList)") >= 0);
        QVERIFY(loaded("libQt6SerialPort"));
        record->close();
    }

    void startsAsLaidOut()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QCOMPARE(window.objectName(), QString("Form1"));
        QCOMPARE(window.windowTitle(), QString("Form1"));
        QCOMPARE(window.size(), QSize(522, 464));
        QPlainTextEdit* box = text1(window);
        QVERIFY(box);
        QCOMPARE(box->geometry(), QRect(24, 8, 329, 401));
        QCOMPARE(box->toPlainText(), QString("Enter Data Here"));
        QCOMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(window.workingState().delimiter, ',');
        QCOMPARE(window.workingState().delimiterName, std::string("comma"));
        QVERIFY(std::filesystem::is_directory(labDirectory()));
        QCOMPARE(window.findChildren<QPushButton*>().size(), 16);
    }

    void buttonsHaveTheirPlacesCaptionsAndAccessibleNames()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const ButtonLayout& layout : buttonLayouts) {
            QPushButton* b = button(window, layout.name);
            QVERIFY2(b, layout.name);
            QCOMPARE(b->geometry(), layout.pixels);
            QCOMPARE(b->text(), QString(layout.caption));
            QVERIFY(!b->isDefault() && !b->autoDefault());
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(b);
            QVERIFY(accessible);
            QCOMPARE(accessible->role(), QAccessible::Button);
            QCOMPARE(accessible->text(QAccessible::Name), QString(layout.caption));
        }
    }

    void captionsWrapInsideTheirButtons()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const ButtonLayout& layout : buttonLayouts) {
            auto* b = qobject_cast<WrappingButton*>(button(window, layout.name));
            QVERIFY2(b, layout.name);
            const QRect area = b->captionArea();
            QVERIFY(b->rect().contains(area));
            const QRect needed = QFontMetrics(b->captionFont())
                                     .boundingRect(area, WrappingButton::captionFlags, b->text());
            QVERIFY2(area.contains(needed), layout.name);
            QVERIFY(b->captionFont().pointSizeF() >= 5);
        }
        // Short captions keep the system font.
        QCOMPARE(button(window, "cmd_running_sum")->font(),
                 qobject_cast<WrappingButton*>(button(window, "cmd_running_sum"))->captionFont());
    }

    void tabOrderRunsFromTheBoxThroughTheButtons()
    {
        Form1 window(labDirectory());
        QWidget* box = text1(window);
        QStringList order;
        for (QWidget* w = box->nextInFocusChain(); w != box; w = w->nextInFocusChain())
            if (qobject_cast<QPushButton*>(w))
                order << w->objectName();
        QStringList expected;
        for (const ButtonLayout& layout : buttonLayouts)
            expected << layout.name;
        QCOMPARE(order, expected);
    }

    void startsWhenTheDirectoryExistsOrCannotBeMade()
    {
        Form1 again(labDirectory());
        QCOMPARE(text1(again)->toPlainText(), QString("Enter Data Here"));
        Form1 impossible("/proc/no/such/place");
        QCOMPARE(text1(impossible)->toPlainText(), QString("Enter Data Here"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void clearTextBoxEmptiesTheBoxAndKeepsTheDelimiter()
    {
        Form1 window(labDirectory());
        QTest::mouseClick(button(window, "cmd_clear_box"), Qt::LeftButton);
        QCOMPARE(text1(window)->toPlainText(), QString());
        QTest::mouseClick(button(window, "cmd_clear_box"), Qt::LeftButton);
        QCOMPARE(text1(window)->toPlainText(), QString());
        QCOMPARE(window.workingState().delimiter, ',');
    }

    void buttonsWithoutCommandsDoNothing()
    {
        Form1 window(labDirectory());
        window.replaceBox("1\r\n2");
        for (const char* name : {"cmd_first_difference_delimited", "cmd_mean_std_dev_delimited"}) {
            QTest::mouseClick(button(window, name), Qt::LeftButton);
            QTest::qWait(20);
            QVERIFY(!QApplication::activeModalWidget());
            QCOMPARE(window.readBox(), std::string("1\r\n2"));
        }
    }

    void boxTextCrossesWithCrLfLineBreaks()
    {
        Form1 window(labDirectory());
        window.replaceBox("1\r\n\r\n2 µm\r\n");
        QCOMPARE(text1(window)->toPlainText(), QString("1\n\n2 µm\n"));
        QCOMPARE(window.readBox(), std::string("1\r\n\r\n2 µm\r\n"));
        text1(window)->setPlainText("a\nb");
        QCOMPARE(window.readBox(), std::string("a\r\nb"));
        window.replaceBox("1\r2\r\n\r\n3");
        QCOMPARE(text1(window)->toPlainText(), QString("1\n2\n\n3"));
        QCOMPARE(window.readBox(), std::string("1\r\n2\r\n\r\n3"));
    }

    void messagesAreMessageBoxesWithOkOnly()
    {
        Form1 window(labDirectory());
        window.show();
        QString text, title;
        bool onlyOk = false, noIcon = false;
        answerNextDialog<QMessageBox>([&](QMessageBox* box) {
            text = box->text();
            title = box->windowTitle();
            onlyOk = box->buttons().size() == 1 && box->standardButtons() == QMessageBox::Ok;
            noIcon = box->icon() == QMessageBox::NoIcon;
            box->button(QMessageBox::Ok)->click();
        });
        window.showMessage("first line\r\nsecond <b>line</b>");
        QCOMPARE(text, QString("first line\nsecond <b>line</b>"));
        QCOMPARE(title, QString("Bench Tabler"));
        QVERIFY(onlyOk);
        QVERIFY(noIcon);
    }

    void questionsAreInputDialogsThatGiveTheTypedTextOrEmpty()
    {
        Form1 window(labDirectory());
        window.show();
        QString label, title, startText;
        answerNextDialog<QInputDialog>([&](QInputDialog* dialog) {
            label = dialog->labelText();
            title = dialog->windowTitle();
            startText = dialog->textValue();
            QTest::keyClicks(dialog->findChild<QLineEdit*>(), " 42 ");
            dialog->accept();
        });
        QCOMPARE(window.askText("how many?\r\nreally"), std::string(" 42 "));
        QCOMPARE(label, QString("how many?\nreally"));
        QCOMPARE(title, QString("Bench Tabler"));
        QCOMPARE(startText, QString());

        answerNextDialog<QInputDialog>([](QInputDialog* dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit*>(), "typed then cancelled");
            dialog->reject();
        });
        QCOMPARE(window.askText("again?"), std::string());
    }

    void buttonsRunTheirCommands_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");

        QTest::newRow("first difference")
            << "cmd_first_difference"
            << "1\n4" << QStringList{"1"}
            << "********  Differences are displayed below with original data **** 1\n 4, 3\n"
               "********  Differences are displayed below in a single column **** 3\n"
            << "";
        QTest::newRow("running sum")
            << "cmd_running_sum"
            << "1\n2" << QStringList{"1"}
            << "********  Running Sums are displayed below with original data **** 1, 1\n 2, 3\n"
               "********  Running Sums are displayed below in a single column ****\n 1\n 3\n"
            << "running sums are displayed in the text box; note: option to display original "
               "numbers with differences, save as comma-delimited file, etc.";
        QTest::newRow("difference quotient")
            << "cmd_difference_quotient"
            << "0,0\n2,4" << QStringList{"1"}
            << "0,0\n2,4\n"
               "********* Difference Quotients appear in Third Column, then below as Single "
               "Column.\n0,0\n 2, 4, 2\n\n"
               "********* Difference Quotients in Single Column.\n 2\n\n"
               "********* Difference Quotients vs. Midpoint Values\n 1, 2\n"
            << "";
        QTest::newRow("select column")
            << "cmd_select_column"
            << "1,2,3\n4,5,6\n"
            << QStringList{"2"} << "1,2,3\n4,5,6\n**********  Your selected column is: \n 2\n 5\n"
            << "";
        QTest::newRow("rows to columns") << "cmd_change_row_to_column"
                                         << "1,2\n3,4,5" << QStringList{} << " 1, 3\n 2, 4\n  , 5\n"
                                         << "";
        QTest::newRow("mean and standard deviation")
            << "cmd_std_dev"
            << "1\n\n3" << QStringList{}
            << "1\n3\n\n\nThere are  2 numbers in your distribution.\nTheir sum is  4\n"
               "Their mean is  4/ 2 =  2.\nThe (mean) average deviation from the mean is  1.\n"
               "The sum of the squared deviations is  2.\n"
               "The standard deviation is therefore sqrt( 2/( 2 - 1) ) =  1.414.\n"
            << "";
        QTest::newRow("random numbers") << "cmd_genRand"
                                        << "x" << QStringList{"5", "5", "2"} << "x\n 5\n 5"
                                        << "should be done done";
        QTest::newRow("experiment")
            << "cmd_experiment_specific_calculations"
            << "x" << QStringList{"2", "50", "100"}
            << "xThe acceleration corresponding to a roll from rest of  50 cm, which accelerates "
               "uniformly and ends up with velocity  100 cm/s, is  100 cm/s^2.\n"
            << "";
        QTest::newRow("declined first difference") << "cmd_first_difference"
                                                   << "1\n4" << QStringList{"2"} << "1\n4"
                                                   << "";
    }

    void buttonsRunTheirCommands()
    {
        QFETCH(QString, name);
        QFETCH(QString, box);
        QFETCH(QStringList, answers);
        QFETCH(QString, expected);
        QFETCH(QString, message);

        Form1 window(labDirectory());
        window.show();
        text1(window)->setPlainText(box);
        typeAnswers(answers);
        QString shown;
        if (!message.isEmpty())
            closeNextMessage(&shown);
        QTest::mouseClick(button(window, name.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(text1(window)->toPlainText(), expected);
        QCOMPARE(shown, message);
    }

    void changedDelimiterGovernsOutputAndTheSavedFile()
    {
        Form1 window(labDirectory());
        window.show();
        text1(window)->setPlainText("1\t2\n3\t4");
        QString shown;
        closeNextMessage(&shown);
        typeAnswers({"2"});
        QTest::mouseClick(button(window, "cmd_change_delimiter"), Qt::LeftButton);
        QCOMPARE(shown, QString("Delimiter is presently the comma."));
        QCOMPARE(window.workingState().delimiterName, std::string("tab"));

        QTest::mouseClick(button(window, "cmd_change_row_to_column"), Qt::LeftButton);
        QCOMPARE(text1(window)->toPlainText(), QString(" 1\t 3\n 2\t 4\n"));

        QTest::mouseClick(button(window, "cmd_output_as_delimited_file"), Qt::LeftButton);
        QFile saved(QString::fromStdString((labDirectory() / "benchTablerOutput.txt").string()));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray(" 1\t 3\r\n 2\t 4\r\n\r\n"));
    }

    void eachCommandIsOneUndoStep_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("answers");
        QTest::newRow("replacing") << "cmd_first_difference" << QStringList{"1"};
        QTest::newRow("appending") << "cmd_select_column" << QStringList{"1"};
        QTest::newRow("clearing") << "cmd_clear_box" << QStringList{};
        QTest::newRow("calculating a column") << "cmd_calculate_column" << QStringList{"c2*10"};
    }

    void eachCommandIsOneUndoStep()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, answers);
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QPlainTextEdit* box = text1(window);
        box->setPlainText("1");
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, ",2");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "3,4");
        const QString typed = box->toPlainText();

        typeAnswers(answers);
        QTest::mouseClick(button(window, name.toLatin1().constData()), Qt::LeftButton);
        const QString result = box->toPlainText();
        QVERIFY(result != typed);

        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), typed);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(box->toPlainText(), result);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier); // then the student's own typing
        QVERIFY(box->toPlainText() != typed);
    }

    void ctrlKCalculatesAColumnOfferingTheLastFormula()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        text1(window)->setPlainText("L (m),T (s)\n0.2,0.90\n0.4,1.27");
        typeAnswers({"c2^2"});
        QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
        QCOMPARE(text1(window)->toPlainText(),
                 QString("L (m),T (s),c2^2 (s^2)\n0.2,0.90, .81\n0.4,1.27, 1.613"));
        QString offered = "(no dialog)";
        answerNextDialog<QInputDialog>([&offered](QInputDialog* dialog) {
            offered = dialog->textValue();
            dialog->reject();
        });
        QTest::mouseClick(button(window, "cmd_calculate_column"), Qt::LeftButton);
        QCOMPARE(offered, QString("c2^2"));
    }

    void aColumnWithItsUncertaintyIsOneUndoStep()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QString typed = "L (m),T (s),u(T) (s)\n0.2,0.90,0.02\n0.4,1.27,0.02";
        text1(window)->setPlainText(typed);
        typeAnswers({"T^2"});
        QTest::keyClick(&window, Qt::Key_K, Qt::ControlModifier);
        const QString both =
            "L (m),T (s),u(T) (s),T^2 (s^2),u(T^2) (s^2)\n0.2,0.90,0.02, .81, .036\n"
            "0.4,1.27,0.02, 1.613, .0508";
        QCOMPARE(text1(window)->toPlainText(), both);
        text1(window)->setFocus();
        QTest::keyClick(text1(window), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text1(window)->toPlainText(), typed);
        QTest::keyClick(text1(window), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(text1(window)->toPlainText(), both);
    }

    void startUpTextIsSelectedSoTypingReplacesIt()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QPlainTextEdit* box = text1(window);
        QCOMPARE(box->textCursor().selectedText(), QString("Enter Data Here"));
        // A click into it first keeps it selected.
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(40, 8));
        QCOMPARE(box->textCursor().selectedText(), QString("Enter Data Here"));
        QTest::keyClicks(box, "1.5");
        QCOMPARE(box->toPlainText(), QString("1.5"));
        // Once changed, a click places the cursor as always.
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(2, 8));
        QVERIFY(box->textCursor().selectedText().isEmpty());
    }

    void ctrlQClosesAsTheCloseButtonDoes()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        text1(window)->setPlainText("1\n2");
        QString question;
        answerNextDialog<QMessageBox>([&question](QMessageBox* box) {
            question = box->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(question.startsWith("The text box has changes that are not saved."));
        QVERIFY(window.isVisible());
        text1(window)->setPlainText("");
        window.activateWindow(); // again, after the question
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window.isVisible());
    }

    void undoAndRedoWorkAfterAClickOnAButton()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QPlainTextEdit* box = text1(window);
        box->setPlainText("1\n4");
        QPushButton* clicked = button(window, "cmd_first_difference");
        typeAnswers({"1"});
        QTest::mouseClick(clicked, Qt::LeftButton);
        const QString result = box->toPlainText();
        QVERIFY(result != "1\n4");
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        clicked->setFocus(); // where a click leaves the focus once its dialog has closed
        QCOMPARE(QApplication::focusWidget(), clicked);

        const struct {
            QKeyCombination keys;
            QString expected;
        } presses[] = {
            {Qt::CTRL | Qt::Key_Z, "1\n4"},
            {Qt::CTRL | Qt::Key_Y, result},
            {Qt::CTRL | Qt::Key_Z, "1\n4"},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, result},
        };
        for (const auto& press : presses) {
            QTest::keyClick(clicked, press.keys.key(), press.keys.keyboardModifiers());
            QCOMPARE(box->toPlainText(), press.expected);
        }
    }

    void theBoxShowsWhatACommandWrote()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPlainTextEdit* box = text1(window);
        QString lines;
        for (int i = 1; i <= 90; ++i)
            lines += QString::number(i) + "\n";
        box->setPlainText(lines);

        // Appended: the header of the new piece is in view, below the top.
        typeAnswers({"1"});
        QTest::mouseClick(button(window, "cmd_select_column"), Qt::LeftButton);
        QTest::qWait(50); // the box has painted and settled
        QVERIFY(box->verticalScrollBar()->value() > 0);
        const QTextBlock header = box->document()->findBlockByNumber(90);
        QVERIFY(header.text().startsWith("**********  Your selected column is"));
        QVERIFY(box->viewport()->rect().contains(box->cursorRect(QTextCursor(header))));

        // Replaced: the top. The header line is read as 0, and a note says so.
        typeAnswers({"1"});
        QString note;
        closeNextMessage(&note);
        QTest::mouseClick(button(window, "cmd_first_difference"), Qt::LeftButton);
        QVERIFY(note.startsWith("line 91 holds no number"));
        QTest::qWait(50);
        QCOMPARE(box->verticalScrollBar()->value(), 0);
    }

    void aRefusedCommandAddsNoUndoStep()
    {
        Form1 window(labDirectory());
        window.show();
        QPlainTextEdit* box = text1(window);
        box->setPlainText("1,2");
        QVERIFY(!box->document()->isUndoAvailable());
        typeAnswers({"11"});
        QString shown;
        closeNextMessage(&shown);
        QTest::mouseClick(button(window, "cmd_select_column"), Qt::LeftButton);
        QCOMPARE(shown, QString("You do not have 10 columns of data in the box"));
        QVERIFY(!box->document()->isUndoAvailable());
    }

    void dataFilesLoadAsTheCoreReadsThem()
    {
        Form1 window(labDirectory());
        window.show();
        const QString folder = home_.path();
        for (const DataFileCase& c : dataFileCases()) {
            const QString path = folder + "/" + c.name + ".csv";
            writeFile(path, QByteArray::fromStdString(c.fileBytes()));
            window.replaceBox("before");
            QString shown;
            if (!c.refusal.empty())
                closeNextMessage(&shown);
            if (std::string(c.name) == "windows1252") // "µm °C" and "€ 5": spaces in every line
                answerNextDialog<QMessageBox>(
                    [](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
            QCOMPARE(window.loadDataFile(path), c.refusal.empty());
            QCOMPARE(window.readBox(), c.refusal.empty() ? c.boxText : std::string("before"));
            if (!c.refusal.empty())
                QCOMPARE(shown,
                         "could not open " + path + ": " + QString::fromStdString(c.refusal));
        }
    }

    void spreadsheetFilesAskForTheirDelimiterThenTheirDecimals_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("delimiterAnswer");
        QTest::addColumn<QMessageBox::StandardButton>("decimalAnswer");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("inForce"); // as Change Delimiter then says
        const QString semicolon = "delimiter is presently the semicolon";
        const QString comma = "Delimiter is presently the comma.";
        QTest::newRow("yes, yes") << QMessageBox::Yes << QMessageBox::Yes << "t;x\n0.1;2.35"
                                  << semicolon;
        QTest::newRow("yes, no") << QMessageBox::Yes << QMessageBox::No << "t;x\n0,1;2,35"
                                 << semicolon;
        QTest::newRow("no, yes") << QMessageBox::No << QMessageBox::Yes << "t;x\n0.1;2.35" << comma;
        QTest::newRow("no, no") << QMessageBox::No << QMessageBox::No << "t;x\n0,1;2,35" << comma;
    }

    void spreadsheetFilesAskForTheirDelimiterThenTheirDecimals()
    {
        QFETCH(QMessageBox::StandardButton, delimiterAnswer);
        QFETCH(QMessageBox::StandardButton, decimalAnswer);
        QFETCH(QString, expected);
        QFETCH(QString, inForce);
        Form1 window(labDirectory());
        window.show();
        const QString path = home_.path() + "/logger.csv";
        writeFile(path, "t;x\r\n0,1;2,35");
        QStringList questions;
        answerNextDialog<QMessageBox>([&](QMessageBox* box) {
            questions << box->text();
            answerNextDialog<QMessageBox>([&](QMessageBox* second) {
                questions << second->text();
                second->button(decimalAnswer)->click();
            });
            box->button(delimiterAnswer)->click();
        });
        QVERIFY(window.loadDataFile(path));
        QCOMPARE(questions,
                 QStringList({"This file separates its values with semicolons; the delimiter is "
                              "the comma. Make the semicolon the delimiter?",
                              "This file writes decimals with a comma (0,1). Change them to "
                              "points (0.1) so that the commands can read them?"}));
        QCOMPARE(text1(window)->toPlainText(), expected);
        // Change Delimiter says which is in force, asks (cancelled), says it stays.
        QString said;
        answerNextDialog<QMessageBox>([&said](QMessageBox* presently) {
            said = presently->text();
            answerNextDialog<QInputDialog>([](QInputDialog* choice) {
                answerNextDialog<QMessageBox>(
                    [](QMessageBox* unchanged) { unchanged->button(QMessageBox::Ok)->click(); });
                choice->reject();
            });
            presently->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(button(window, "cmd_change_delimiter"), Qt::LeftButton);
        QCOMPARE(said, inForce);
    }

    void pastedSpreadsheetRowsAskAsAFileDoes_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("delimiterAnswer");
        QTest::addColumn<QMessageBox::StandardButton>("decimalAnswer");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<char>("delimiter");
        QTest::newRow("yes, yes") << QMessageBox::Yes << QMessageBox::Yes << "0.5\t1.294\n1.0\t2.5"
                                  << '\t';
        QTest::newRow("yes, no") << QMessageBox::Yes << QMessageBox::No << "0,5\t1,294\n1,0\t2,5"
                                 << '\t';
        QTest::newRow("no, yes") << QMessageBox::No << QMessageBox::Yes << "0.5\t1.294\n1.0\t2.5"
                                 << ',';
        QTest::newRow("no, no") << QMessageBox::No << QMessageBox::No << "0,5\t1,294\n1,0\t2,5"
                                << ',';
    }

    void pastedSpreadsheetRowsAskAsAFileDoes()
    {
        QFETCH(QMessageBox::StandardButton, delimiterAnswer);
        QFETCH(QMessageBox::StandardButton, decimalAnswer);
        QFETCH(QString, pasted);
        QFETCH(char, delimiter);
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QPlainTextEdit* box = text1(window);
        box->setPlainText("t (s)\tx (m)\n");
        box->moveCursor(QTextCursor::End);
        const QString before = box->toPlainText();
        // Rows copied from a spreadsheet set to a decimal comma, Windows line breaks.
        QGuiApplication::clipboard()->setText("0,5\t1,294\r\n1,0\t2,5");
        QStringList questions;
        answerNextDialog<QMessageBox>([&](QMessageBox* first) {
            questions << first->text();
            answerNextDialog<QMessageBox>([&](QMessageBox* second) {
                questions << second->text();
                second->button(decimalAnswer)->click();
            });
            first->button(delimiterAnswer)->click();
        });
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(questions,
                 QStringList({"The pasted lines separate their values with tabs; the delimiter "
                              "is the comma. Make the tab the delimiter?",
                              "The pasted lines write decimals with a comma (0,1). Change them to "
                              "points (0.1) so that the commands can read them?"}));
        QCOMPARE(box->toPlainText(), before + pasted); // the box's own lines as they were
        QCOMPARE(window.workingState().delimiter, delimiter);
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier); // the paste is one undo step
        QCOMPARE(box->toPlainText(), before);
    }

    void aPasteOfOneLineAsksNothing()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QPlainTextEdit* box = text1(window);
        box->setPlainText("");
        QGuiApplication::clipboard()->setText("0,5\t1,294");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), QString("0,5\t1,294"));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void openDialogStartsWhereAFileWasLastOpenedAndHidesTheProgramsOwn()
    {
        Form1 window(labDirectory());
        window.show();
        const QString lab = QString::fromStdString(labDirectory().string());
        writeFile(lab + "/tempFile.txt", "1");
        writeFile(lab + "/.recovery-1.txt", "1");
        writeFile(lab + "/ramp.csv", "1");
        QStringList listed;
        QString folder;
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            folder = dialog->directory().absolutePath();
            auto* view = dialog->findChild<QListView*>("listView");
            QTRY_VERIFY(view->model()->rowCount(view->rootIndex()) > 0);
            for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
                listed << view->model()->index(row, 0, view->rootIndex()).data().toString();
            dialog->reject();
        });
        window.openFile();
        QCOMPARE(folder, lab);
        QVERIFY2(listed.contains("ramp.csv") && !listed.contains("tempFile.txt") &&
                     !listed.contains(".recovery-1.txt"),
                 qPrintable(listed.join(", ")));

        QDir(home_.path()).mkpath("group 2");
        const QString elsewhere = home_.path() + "/group 2/pendulum.csv";
        writeFile(elsewhere, "L,T\n0.5,1.42");
        QVERIFY(window.loadDataFile(elsewhere));
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            folder = dialog->directory().absolutePath();
            dialog->reject();
        });
        window.openFile();
        QCOMPARE(folder, home_.path() + "/group 2");
    }

    void longFilesLoadAndSayTheCommandsUseTheFirst1000Lines()
    {
        Form1 window(labDirectory());
        window.show();
        const QString path = home_.path() + "/logger.csv";
        QByteArray lines;
        for (int i = 0; i < 5000; ++i)
            lines += QByteArray::number(i) + "\n";
        writeFile(path, lines);
        QString shown;
        closeNextMessage(&shown);
        QVERIFY(window.loadDataFile(path));
        QCOMPARE(shown,
                 QString("This file has 5000 lines; the commands use at most the first 1000."));
        QCOMPARE(text1(window)->blockCount(), 5001);
    }

    void ctrlOOpensAFileAndCtrlZBringsBackTheBox()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QString path = home_.path() + "/ramp.txt";
        writeFile(path, "0,0\n1,2\n");
        QString filter;
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            filter = dialog->nameFilters().join(";;");
            chooseFile(dialog, path);
        });
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(filter, QString("Sessions and data files (*.btsession *.txt *.csv *.tsv *.dat);;"
                                 "Sessions (*.btsession);;Data files (*.txt *.csv *.tsv *.dat);;"
                                 "All files (*)"));
        QCOMPARE(text1(window)->toPlainText(), QString("0,0\n1,2\n"));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text1(window)->toPlainText(), QString("Enter Data Here"));
    }

    void boxMenuKeepsItsEntriesAndOffersFiles()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        emit text1(window)->customContextMenuRequested(QPoint(10, 10));
        QMenu* menu = nullptr;
        QVERIFY(QTest::qWaitFor([&] {
            menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu != nullptr;
        }));
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << action->text();
        menu->close();
        QVERIFY(entries.filter("Copy").size() == 1 && entries.filter("Paste").size() == 1);
        for (const char* entry : {"Open...", "Save session...", "Save session as template...",
                                  "Save text as..."})
            QVERIFY2(entries.contains(entry), entry);
    }

    void dropsLoadOneFileRefuseSeveralAndKeepText_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("message");
        QTest::newRow("one file") << QStringList{"one.txt"} << ""
                                  << "5\n6"
                                  << "";
        QTest::newRow("two files") << QStringList{"one.txt", "two.txt"} << ""
                                   << "1"
                                   << "drop one file at a time";
        QTest::newRow("text") << QStringList{} << "2,"
                              << "2,1"
                              << "";
    }

    void dropsLoadOneFileRefuseSeveralAndKeepText()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(QString, message);
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QPlainTextEdit* box = text1(window);
        box->setPlainText("1");
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& name : files) {
            writeFile(home_.path() + "/" + name, "5\n6");
            urls << QUrl::fromLocalFile(home_.path() + "/" + name);
        }
        if (!urls.isEmpty())
            data.setUrls(urls);
        else
            data.setText(text);
        QString shown;
        if (!message.isEmpty())
            closeNextMessage(&shown);
        const QPoint start = box->cursorRect(QTextCursor(box->document())).center();
        QDragEnterEvent enter(start, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(start), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box->viewport(), &drop);
        QCOMPARE(box->toPlainText(), expected);
        QCOMPARE(shown, message);
    }

    void closingAsksOnlyWhenTheBoxHoldsUnsavedText_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("savedFirst");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("savedAfter");
        QTest::newRow("save") << "1,2" << false << QMessageBox::Save << true << true;
        QTest::newRow("discard") << "1,2" << false << QMessageBox::Discard << true << false;
        QTest::newRow("cancel") << "1,2" << false << QMessageBox::Cancel << false << false;
        QTest::newRow("saved") << "1,2" << true << QMessageBox::NoButton << true << true;
        QTest::newRow("empty") << "" << false << QMessageBox::NoButton << true << false;
        QTest::newRow("start-up text")
            << "Enter Data Here" << false << QMessageBox::NoButton << true << false;
    }

    void closingAsksOnlyWhenTheBoxHoldsUnsavedText()
    {
        QFETCH(QString, box);
        QFETCH(bool, savedFirst);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, closes);
        QFETCH(bool, savedAfter);
        QTemporaryDir home;
        const std::filesystem::path lab = std::filesystem::path(home.path().toStdString());
        Form1 window(lab);
        window.show();
        text1(window)->setPlainText(box);
        if (savedFirst)
            QTest::mouseClick(button(window, "cmd_output_as_delimited_file"), Qt::LeftButton);
        std::filesystem::remove(lab / "benchTablerOutput.txt");
        QString question;
        if (answer != QMessageBox::NoButton)
            answerNextDialog<QMessageBox>([&](QMessageBox* dialog) {
                question = dialog->text();
                dialog->button(answer)->click();
            });
        QCOMPARE(window.close(), closes);
        if (answer != QMessageBox::NoButton)
            QCOMPARE(question,
                     "The text box has changes that are not saved. Save them to " +
                         QString::fromStdString((lab / "benchTablerOutput.txt").string()) +
                         " before closing?");
        QCOMPARE(std::filesystem::exists(lab / "benchTablerOutput.txt"), savedAfter && !savedFirst);
    }

    void saveAsWritesWhatTheFixedSaveWrites()
    {
        QTemporaryDir home; // no benchTablerOutput.txt yet for the dialog to choose
        const std::filesystem::path lab(home.path().toStdString());
        Form1 window(lab);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        text1(window)->setPlainText("1,2\nµm\n");
        const QString chosen = home.path() + "/chosen.txt";
        QString proposed;
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            chooseFile(dialog, chosen);
        });
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(proposed, QString::fromStdString((lab / "benchTablerOutput.txt").string()));
        QTest::mouseClick(button(window, "cmd_output_as_delimited_file"), Qt::LeftButton);
        QCOMPARE(readFile(chosen),
                 readFile(QString::fromStdString((lab / "benchTablerOutput.txt").string())));
        QCOMPARE(readFile(chosen), QByteArray("1,2\r\n\xC2\xB5m\r\n\r\n"));
    }

    void graphButtonAndCtrlGOpenOneWindowThatFollowsTheBox()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        text1(window)->setPlainText("t,v\n0,0.1\n1,9.9\n2,19.7");
        QTest::mouseClick(button(window, "cmd_graph"), Qt::LeftButton);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        const QList<GraphWindow*> graphs = window.findChildren<GraphWindow*>();
        QCOMPARE(graphs.size(), 1);
        GraphWindow* graph = graphs.front();
        QVERIFY(graph->isVisible() && graph->isWindow());
        QCOMPARE(graph->windowTitle(), QString("Bench Tabler - Graph"));
        QCOMPARE(graph->graph()->plot().points.size(), 3u);
        QCOMPARE(graph->graph()->plot().xTitle, std::string("t"));

        // An edit, then a command: each re-plots once the box is still.
        text1(window)->appendPlainText("3,29.5");
        QTRY_COMPARE(graph->graph()->plot().points.size(), 4u);
        QString note; // the header is read as 0, and a note says so
        closeNextMessage(&note);
        QTest::mouseClick(button(window, "cmd_change_row_to_column"), Qt::LeftButton);
        QTRY_COMPARE(graph->graph()->plot().points.size(), 2u); // two rows of five now
        QVERIFY(note.startsWith("2 fields hold no number"));
        QCOMPARE(window.findChildren<GraphWindow*>().size(), 1);
    }

    void graphFitsALineAndSavesItAsPngAndSvg()
    {
        Form1 window(labDirectory());
        window.show();
        text1(window)->setPlainText("time (s),speed (m/s)\n0,0\n1,2\n2,4.1\n3,5.9");
        QTest::mouseClick(button(window, "cmd_graph"), Qt::LeftButton);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QVERIFY(graph);
        chooseFit(graph, "straight line y = m x + b");
        QVERIFY2(graph->noteText().contains("slope m = 1.980 ± 0.042"),
                 qPrintable(graph->noteText()));
        QVERIFY(graph->noteText().contains("(one standard deviation)"));

        const QString png = home_.path() + "/graph.png", svg = home_.path() + "/graph.svg";
        QCOMPARE(graph->saveImage(png), QString());
        QCOMPARE(graph->saveImage(svg), QString());
        QCOMPARE(readFile(png).left(8), QByteArray("\x89PNG\r\n\x1a\n"));
        const QByteArray drawing = readFile(svg);
        QVERIFY(drawing.contains("time (s)") && drawing.contains("speed (m/s)"));
        QVERIFY(drawing.contains("slope m = 1.980"));
        QCOMPARE(graph->saveImage(home_.path() + "/graph.jpg"),
                 QString("an image is saved as .png or .svg"));
    }

    // The graph's choices belong to their data: opening a file, a paste over
    // the whole box or Clear start from the defaults; an edit keeps them.
    void newDataStartTheGraphFromItsDefaults()
    {
        Form1 window(labDirectory());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QPlainTextEdit* box = text1(window);
        const QString pendulum = "L (m),T^2 (s^2)\n0.2,0.81\n0.4,1.62\n0.6,2.40\n0.8,3.22";
        const QString cooling = "t (s),T (°C)\n0,80\n60,62\n120,49\n180,40";
        writeFile(home_.path() + "/cooling.csv", cooling.toUtf8());
        QTest::mouseClick(button(window, "cmd_graph"), Qt::LeftButton);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        const auto field = [graph](const char* name) {
            for (QLineEdit* edit : graph->findChildren<QLineEdit*>())
                if (edit->accessibleName() == name)
                    return edit;
            return static_cast<QLineEdit*>(nullptr);
        };
        const auto choosePendulum = [&] {
            box->setPlainText(pendulum);
            graph->replot();
            chooseFit(graph, "straight line y = m x + b");
            field("title")->setText("Pendulum: T² against L");
            field("result")->setText("-b/m");
            field("from")->setText("0.3");
            graph->replot();
            QVERIFY(graph->noteText().contains("-b/m = "));
        };
        const auto startedAfresh = [&](const char* how) {
            for (const char* name : {"title", "result", "from", "equation"})
                QVERIFY2(field(name)->text().isEmpty(), qPrintable(QString(how) + ": " + name));
            QVERIFY2(!graph->noteText().contains("-b/m"), how);
        };
        choosePendulum();
        box->moveCursor(QTextCursor::End);
        box->insertPlainText("\n1.0,4.01"); // an edit: the choices stay
        graph->replot();
        QCOMPARE(field("title")->text(), QString("Pendulum: T² against L"));
        QVERIFY(graph->noteText().contains("-b/m = "));

        QVERIFY(window.loadDataFile(home_.path() + "/cooling.csv"));
        startedAfresh("a file opened");
        choosePendulum();
        QTest::mouseClick(button(window, "cmd_clear_box"), Qt::LeftButton);
        startedAfresh("Clear");
        choosePendulum();
        box->selectAll();
        QGuiApplication::clipboard()->setText(cooling);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        startedAfresh("a paste over the whole box");
    }

    // The fits of all runs go into the box as a block of data, one undo step.
    void theRunsResultsGoIntoTheBoxAsOneUndoStep()
    {
        Form1 window(labDirectory());
        window.show();
        QPlainTextEdit* box = text1(window);
        const QString runs = "L = 0.3 m\nt (s),x (cm)\n0,1\n1,3.1\n2,4.9\n3,7.1\n\n"
                             "L = 0.5 m\nt (s),x (cm)\n0,2\n1,5.1\n2,7.9\n3,11.1";
        box->setPlainText(runs);
        QTest::mouseClick(button(window, "cmd_graph"), Qt::LeftButton);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        for (QComboBox* list : graph->findChildren<QComboBox*>())
            if (list->accessibleName() == "data") {
                list->setCurrentIndex(list->count() - 1);
                emit list->activated(list->count() - 1);
            }
        chooseFit(graph, "straight line y = m x + b");
        QPushButton* put = nullptr;
        for (QPushButton* candidate : graph->findChildren<QPushButton*>())
            if (candidate->text() == "Put the results in the box")
                put = candidate;
        QVERIFY(put && put->isVisible());
        put->click();
        const QStringList lines = box->toPlainText().split('\n');
        QCOMPARE(lines.mid(lines.size() - 5),
                 QStringList({"", "Results: m x + b", "run,L (m),m (cm/s),u(m),b (cm),u(b)",
                              // by hand: Sxx = 5, Sxy = 10.05 and 15.05, SSE = 0.027
                              // for both, u(m) = √(0.0135/5), u(b) = √(0.0135 · 0.7)
                              "1,0.3,2.010,0.052,1.010,0.097", "2,0.5,3.010,0.052,2.010,0.097"}));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), runs);
    }

    // Each block keeps its own choices while the student goes from one to another.
    void eachBlockKeepsItsChoices()
    {
        Form1 window(labDirectory());
        window.show();
        text1(window)->setPlainText("t,x\n0,1\n1,2\n2,3\n\nmass (g),F (N)\n100,1\n200,2\n300,3");
        QTest::mouseClick(button(window, "cmd_graph"), Qt::LeftButton);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QComboBox* data = nullptr;
        QLineEdit* title = nullptr;
        for (QComboBox* list : graph->findChildren<QComboBox*>())
            if (list->accessibleName() == "data")
                data = list;
        for (QLineEdit* field : graph->findChildren<QLineEdit*>())
            if (field->accessibleName() == "title")
                title = field;
        const auto choose = [&](int index) {
            data->setCurrentIndex(index);
            emit data->activated(index);
        };
        title->setText("Cart");
        chooseFit(graph, "proportional y = A x");
        choose(1);
        QCOMPARE(title->text(), QString());
        title->setText("Spring");
        chooseFit(graph, "straight line y = m x + b");
        choose(0);
        QCOMPARE(title->text(), QString("Cart"));
        QVERIFY2(graph->noteText().contains("Fit y = A x"), qPrintable(graph->noteText()));
        choose(1);
        QCOMPARE(title->text(), QString("Spring"));
        QVERIFY(graph->noteText().contains("Straight-line fit"));
    }

    void graphOfAHugePasteShowsEveryRowQuickly()
    {
        Form1 window(labDirectory());
        window.show();
        QString box;
        for (int i = 0; i < 100000; ++i)
            box += QString::number(i) + "," + QString::number(i % 977) + "\n";
        text1(window)->setPlainText(box);
        QTest::mouseClick(button(window, "cmd_graph"), Qt::LeftButton);
        GraphWindow* graph = window.findChild<GraphWindow*>();
        QElapsedTimer clock;
        clock.start();
        graph->replot();
        graph->graph()->repaint();
        qInfo("re-plot of a 100000-line box: %lld ms", clock.elapsed());
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(graph->graph()->plot().points.size(), 100000u);
        QCOMPARE(graph->noteText(), QString());
    }

    void largestInputsTakeNoVisibleTime()
    {
        QString column, table;
        for (int i = 1; i <= 1000; ++i)
            column += QString::number(i * 1.5) + "\n";
        for (int r = 1; r <= 100; ++r) {
            QString line = QString::number(r);
            for (int k = 2; k <= 100; ++k)
                line += "," + QString::number(r * k * 0.25);
            table += line + "\n";
        }

        const struct {
            const char* name;
            const QString& box;
            QStringList answers;
            bool message;
        } runs[] = {
            {"cmd_first_difference", column, {"1"}, false},
            {"cmd_running_sum", column, {"1"}, true},
            {"cmd_difference_quotient", table, {"1"}, false},
            {"cmd_select_column", table, {"7"}, false},
            {"cmd_change_row_to_column", table, {}, false},
            {"cmd_std_dev", column, {}, false},
            {"cmd_genRand", QString("x"), {"0", "1", "1000"}, true},
        };
        for (const auto& run : runs) {
            Form1 window(labDirectory());
            window.show();
            text1(window)->setPlainText(run.box);
            typeAnswers(run.answers);
            QString shown;
            if (run.message)
                closeNextMessage(&shown);
            QElapsedTimer clock;
            clock.start();
            QTest::mouseClick(button(window, run.name), Qt::LeftButton);
            const qint64 elapsed = clock.elapsed();
            qInfo("%s on the largest input: %lld ms (dialogs included)", run.name, elapsed);
            QVERIFY(text1(window)->toPlainText() != run.box);
            QVERIFY2(elapsed < 1000, run.name);
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
