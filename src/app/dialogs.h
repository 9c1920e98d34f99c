#pragma once

#include <QString>

class QWidget;

inline const QString applicationTitle = QStringLiteral("Bench Tabler");

// A modal QMessageBox with the text, an OK button and no icon.
void showMessageBox(QWidget* parent, const QString& text);

// A modal QInputDialog with the prompt and an empty field; the typed text,
// or empty text on Cancel.
QString askTextBox(QWidget* parent, const QString& prompt);
