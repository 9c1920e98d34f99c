#include "app/dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QSortFilterProxyModel>

void showMessageBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString askTextBox(QWidget* parent, const QString& prompt, const QString& offered)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(applicationTitle);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(offered);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

bool askYesNo(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, applicationTitle, question,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

int askSaveDiscardCancel(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, applicationTitle, question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec();
}

namespace {

// Hides the program's own temporary file and hidden files (the recovery
// files among them) from the open dialog: none of them is a student's data.
class DataFilesOnly : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const QString name = sourceModel()->index(row, 0, parent).data().toString();
        return !name.startsWith('.') && name != QLatin1String("tempFile.txt");
    }
};

} // namespace

QString askDataFileToOpen(QWidget* parent, const QString& folder)
{
    QFileDialog dialog(parent, QStringLiteral("Open"), folder,
                       QStringLiteral("Sessions and data files (*.btsession *.txt *.csv *.tsv "
                                      "*.dat);;Sessions (*.btsession);;Data files (*.txt *.csv "
                                      "*.tsv *.dat);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog); // the filter works on Qt's own dialog
    dialog.setProxyModel(new DataFilesOnly(&dialog));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString askFileToSave(QWidget* parent, const QString& title, const QString& proposed,
                      const QString& filters)
{
    QFileDialog dialog(parent, title, proposed, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(proposed).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
