#pragma once

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

// Answers the next modal dialog that opens: polls until a dialog of the given
// type is the active modal widget, then hands it to `answer`, which must
// close it. Gives up after five seconds so that a missing dialog fails the
// test instead of hanging it.
template <typename Dialog> void answerNextDialog(std::function<void(Dialog*)> answer)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer, waited = 0]() mutable {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog && (waited += 10) < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            answer(dialog);
    });
    timer->start(10);
}

// Types each answer, in order, into the input boxes that open one after the
// other, pressing OK; an empty answer presses Cancel.
inline void typeAnswers(QStringList answers)
{
    if (answers.isEmpty())
        return;
    answerNextDialog<QInputDialog>([answers](QInputDialog* dialog) mutable {
        const QString answer = answers.takeFirst();
        if (answer.isEmpty()) {
            dialog->reject();
        } else {
            QTest::keyClicks(dialog->findChild<QLineEdit*>(), answer);
            dialog->accept();
        }
        typeAnswers(answers);
    });
}

// Closes the next message box with OK and keeps its text.
inline void closeNextMessage(QString* text)
{
    answerNextDialog<QMessageBox>([text](QMessageBox* box) {
        *text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
}
