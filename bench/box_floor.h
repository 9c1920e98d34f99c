#pragma once

// The floor of opening a file into the box: its bytes read and put in the box
// as one edit block, as any text editor must at least do.

#include <QCoreApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

inline void readFileIntoBox(QPlainTextEdit* box, const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(file.readAll());
    QTextCursor cursor(box->document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
    QCoreApplication::processEvents();
}
