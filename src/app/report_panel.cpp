#include "app/report_panel.h"

#include "app/devices.h"
#include "app/dialogs.h"
#include "app/lab_directory.h"
#include "data/durable_file.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

namespace {

const QString nameSetting = QStringLiteral("report/name");

// The title as a file name: the characters file systems refuse become "-".
QString fileNameOf(const QString& title)
{
    QString name = title;
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('-');
    return name.isEmpty() ? QStringLiteral("report") : name;
}

} // namespace

ReportPanel::ReportPanel(std::function<LabReport()> report, const QString& labDirectory,
                         QWidget* parent)
    : QWidget(parent), makeReport_(std::move(report)), folder_(labDirectory)
{
    name_ = new QLineEdit(QSettings().value(nameSetting).toString(), this);
    name_->setAccessibleName(QStringLiteral("name"));
    name_->setPlaceholderText(QStringLiteral("student or group"));
    auto* nameLabel = new QLabel(QStringLiteral("&name:"), this);
    nameLabel->setBuddy(name_);
    auto* save = new QPushButton(QStringLiteral("Save report..."), this);
    auto* print = new QPushButton(QStringLiteral("Print..."), this);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(nameLabel);
    row->addWidget(name_, 1);
    row->addWidget(save);
    row->addWidget(print);

    connect(name_, &QLineEdit::textChanged, this,
            [](const QString& text) { QSettings().setValue(nameSetting, text); });
    connect(save, &QPushButton::clicked, this, &ReportPanel::askAndSaveReport);
    connect(print, &QPushButton::clicked, this, &ReportPanel::askAndPrint);
}

QString ReportPanel::name() const { return name_->text().trimmed(); }
void ReportPanel::setName(const QString& name) { name_->setText(name); }

LabReport ReportPanel::report() const
{
    LabReport report = makeReport_();
    report.name = name();
    return report;
}

QString ReportPanel::saveReport(const QString& path) const { return writeReport(path, report()); }

QString ReportPanel::writeReport(const QString& path, const LabReport& made)
{
    const QByteArray pdf = reportPdf(made, localPaper());
    if (pdf.isEmpty())
        return QStringLiteral("the report could not be made");
    return QString::fromStdString(replaceFileDurably(toPath(path), pdf.toStdString()));
}


void ReportPanel::askAndSaveReport()
{
    // Made once, before the dialog: a re-fit of many rows takes its time.
    const LabReport made = report();
    const QString proposed = folder_ + QLatin1Char('/') + fileNameOf(made.title) +
                             QStringLiteral(".pdf");
    const QString path = askFileToSave(this, QStringLiteral("Save report"), proposed,
                                       QStringLiteral("PDF document (*.pdf)"));
    if (path.isEmpty())
        return;
    const QString reason = writeReport(path, made);
    if (!reason.isEmpty()) {
        showMessageBox(this, QStringLiteral("could not save %1: %2").arg(path, reason));
        return;
    }
    folder_ = QFileInfo(path).absolutePath();
}

void ReportPanel::askAndPrint()
{
    QString reason;
    if (const Devices* found = devices(&reason))
        found->printReport(report(), this);
    else
        showMessageBox(this, QStringLiteral("could not print: %1").arg(reason));
}
