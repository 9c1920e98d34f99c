#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Answers the next modal dialog that opens: polls until a dialog of the given
// type is the active modal widget, then hands it to `answer`, which must
// close it. Gives up after five seconds so that a missing dialog fails the
// test instead of hanging it.
template <typename Dialog>
void answerNextDialog(std::function<void(Dialog*)> answer)
{
    auto* timer = new QTimer;
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, answer] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog && (*waited += 10) < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (dialog)
            answer(dialog);
    });
    timer->start(10);
}
