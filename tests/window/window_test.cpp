#include "app/form1.h"
#include "app/wrapping_button.h"

#include "dialog_script.h"

#include <QAccessible>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ButtonLayout {
    const char* name;
    const char* caption;
    QRect pixels;
};

// Twips divided by 15, in tab order.
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
    {"cmd_experiment_specific_calculations", "experiment-specific calculations",
     {456, 160, 65, 41}},
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

private slots:
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
        QCOMPARE(window.findChildren<QPushButton*>().size(), 13);
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
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
