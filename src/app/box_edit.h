#pragma once

#include <QPlainTextEdit>

#include <functional>

// The text box Text1: a QPlainTextEdit that lets its window take a paste
// of text (the clipboard, the middle button, dropped text) before it goes
// in, to ask about its delimiter and decimal commas.
class BoxEdit : public QPlainTextEdit {
public:
    // Takes the pasted text and puts it in itself, returning true; false
    // leaves the paste to the box as it always was.
    using PasteTaker = std::function<bool(const QString& text)>;

    explicit BoxEdit(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}
    void takePastesWith(PasteTaker taker) { taker_ = std::move(taker); }

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    PasteTaker taker_;
};
