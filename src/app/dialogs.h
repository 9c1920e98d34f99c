#pragma once

#include <QString>

class QWidget;

inline const QString applicationTitle = QStringLiteral("Bench Tabler");

// A modal QMessageBox with the text, an OK button and no icon.
void showMessageBox(QWidget* parent, const QString& text);

// A modal QInputDialog with the prompt and a field holding `offered` (empty
// unless given); the typed text, or empty text on Cancel.
QString askTextBox(QWidget* parent, const QString& prompt, const QString& offered = QString());

// A QMessageBox question with Yes and No; true for Yes.
bool askYesNo(QWidget* parent, const QString& question);

// A QMessageBox question with Save, Discard and Cancel; the button pressed,
// Cancel when the box was closed otherwise.
int askSaveDiscardCancel(QWidget* parent, const QString& question);

// A file dialog for opening a data file, starting in `folder`; the path
// chosen, or empty text.
QString askDataFileToOpen(QWidget* parent, const QString& folder);

// A file dialog for saving, proposing `proposed`, asking before it
// overwrites a file; a name typed without extension gets the first filter's
// one. The path chosen, or empty text.
QString askFileToSave(QWidget* parent, const QString& title, const QString& proposed,
                      const QString& filters);
