#include "app/dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

void showMessageBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString askTextBox(QWidget* parent, const QString& prompt)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(applicationTitle);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}
