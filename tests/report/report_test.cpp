// The lab report as the teacher gets it: the PDF read back with poppler's
// tools (its pages, text, fonts, and its first page rendered), from the graph
// window, the printer and the command line.
#include "app/graph_painter.h"
#include "app/graph_window.h"
#include "app/lab_report.h"
#include "app/linked_devices.h"
#include "app/report_panel.h"
#include "app/report_printing.h"
#include "dialog_script.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const pendulum = "L (m),T (s),u(T) (s),T^2,u(T^2)\r\n0.20,0.90,0.02, .81, .036\r\n"
                             "0.40,1.27,0.02, 1.613, .0508\r\n0.60,1.55,0.02, 2.403, .062\r\n"
                             "0.80,1.80,0.02, 3.24, .072\r\n1.00,2.01,0.02, 4.040, .0804\r\n";

struct ProcessRun {
    int exitCode = -1;
    QString out, err;
};

ProcessRun run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Each page's lines of text as pdftotext lays them out, runs of blanks made
// one, empty lines left out.
QList<QStringList> pagesOf(const QString& pdf)
{
    QList<QStringList> pages;
    for (const QString& page : run("pdftotext", {"-layout", pdf, "-"}).out.split('\f')) {
        QStringList lines;
        for (const QString& line : page.split('\n'))
            if (!line.simplified().isEmpty())
                lines << line.simplified();
        if (!lines.isEmpty())
            pages << lines;
    }
    return pages;
}

QStringList linesOf(const QString& pdf)
{
    QStringList all;
    for (const QStringList& page : pagesOf(pdf))
        all << page;
    return all;
}

QString pdfInfo(const QString& pdf, const QString& key)
{
    for (const QString& line : run("pdfinfo", {pdf}).out.split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).simplified();
    return {};
}

// The first of `wanted` not found among `lines` after the one before it;
// empty when all are there in order. Blanks do not count: pdftotext drops
// the blanks of a short line ("N=8").
QString firstMissing(const QStringList& lines, const QStringList& wanted)
{
    const auto bare = [](QString line) { return line.remove(' '); };
    qsizetype at = 0;
    for (const QString& line : wanted) {
        while (at < lines.size() && bare(lines[at]) != bare(line))
            ++at;
        if (at == lines.size())
            return line;
        ++at;
    }
    return {};
}

// The fonts the PDF uses, and whether each is embedded.
QList<std::pair<QString, bool>> fontsOf(const QString& pdf)
{
    const QStringList lines = run("pdffonts", {pdf}).out.split('\n');
    QList<std::pair<QString, bool>> fonts;
    if (lines.size() < 2)
        return fonts;
    const qsizetype emb = lines[0].indexOf("emb");
    for (qsizetype i = 2; i < lines.size(); ++i)
        if (!lines[i].trimmed().isEmpty())
            fonts.append({lines[i].section(' ', 0, 0), lines[i].mid(emb, 3) == "yes"});
    return fonts;
}

QImage firstPageRendered(const QString& pdf)
{
    const QString png = pdf + ".page";
    run("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", pdf, png});
    return QImage(png + ".png");
}

int pixelsNear(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += std::abs(qRed(p) - colour.red()) + std::abs(qGreen(p) - colour.green()) +
                         std::abs(qBlue(p) - colour.blue()) <=
                     60;
        }
    return count;
}

// The page's date line changes by the minute; the rest must not.
QStringList withoutDate(QStringList lines)
{
    lines.removeIf([](const QString& line) {
        return line.contains(QRegularExpression("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"));
    });
    return lines;
}

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    QString box_;

    std::unique_ptr<GraphWindow> openGraph(const QString& box, const QString& dataFile = {})
    {
        box_ = box;
        auto window = std::make_unique<GraphWindow>(
            [this, dataFile] {
                return BoxSnapshot{box_.toStdString(), ',', dataFile};
            },
            folder_.path(), nullptr);
        window->showAndRaise();
        return window;
    }
    template <typename Widget> static Widget* named(QWidget& window, const QString& name)
    {
        for (Widget* widget : window.findChildren<Widget*>())
            if (widget->accessibleName() == name)
                return widget;
        return nullptr;
    }
    // The pendulum's T² against L, the straight line fitted with u(T²) as
    // the weights, and g from its slope.
    std::unique_ptr<GraphWindow> pendulumFitted()
    {
        auto window = openGraph(pendulum);
        auto* y = named<QComboBox>(*window, "y");
        y->setCurrentIndex(3);
        emit y->activated(3);
        named<QComboBox>(*window, "fit")->setCurrentText("straight line y = m x + b");
        QLineEdit* result = named<QLineEdit>(*window, "result");
        QTest::keyClicks(result, "4*pi^2/m");
        QTest::keyClick(result, Qt::Key_Return);
        named<QLineEdit>(*window, "name")->setText("Group 3");
        return window;
    }
    QString saved(GraphWindow& window, const QString& name)
    {
        const QString path = folder_.filePath(name);
        const QString reason = window.reportPanel()->saveReport(path);
        return reason.isEmpty() ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        useLinkedDevices(linkedDevices());
        QVERIFY2(!run("pdfinfo", {"-v"}).err.isEmpty(), "poppler's tools are missing");
    }

    void pendulumReportHoldsTheGraphTheFitAndEveryRow()
    {
        auto window = pendulumFitted();
        QVERIFY2(window->noteText().contains("4*pi^2/m = 9.78 ± 0.22"),
                 qPrintable(window->noteText()));
        const QString pdf = saved(*window, "pendulum.pdf");
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfInfo(pdf, "Pages"), QString("1"));
        const QSizeF paper = localPaper().size(QPageSize::Point);
        QVERIFY2(pdfInfo(pdf, "Page size")
                     .startsWith(QString("%1 x %2 pts").arg(paper.width()).arg(paper.height())),
                 qPrintable(pdfInfo(pdf, "Page size")));

        const QStringList lines = linesOf(pdf);
        QCOMPARE(lines.value(0), QString("Bench Tabler report"));
        QVERIFY2(lines.value(1).startsWith("Group 3 - "), qPrintable(lines.value(1)));
        QStringList wanted = window->noteText().split('\n');
        wanted << "row L (m) T^2 u(T^2)"
               << "1 0.20 .81 .036"
               << "2 0.40 1.613 .0508"
               << "3 0.60 2.403 .062"
               << "4 0.80 3.24 .072"
               << "5 1.00 4.040 .0804"
               << "page 1 of 1";
        QVERIFY2(firstMissing(lines, wanted).isEmpty(),
                 qPrintable(firstMissing(lines, wanted) + "\n---\n" + lines.join('\n')));

        const auto fonts = fontsOf(pdf);
        QVERIFY(!fonts.isEmpty());
        for (const auto& [font, embedded] : fonts)
            QVERIFY2(embedded, qPrintable(font));

        // The graph is on the page: the curve and the points in their colours.
        const QImage page = firstPageRendered(pdf);
        QCOMPARE(page.size(), paper.toSize());
        QVERIFY(pixelsNear(page, graph_colours::curve) > 150);
        QVERIFY(pixelsNear(page, graph_colours::point) > 20);
    }

    void noCurveOnThePageWithoutAFit()
    {
        auto window = openGraph(pendulum);
        const QString pdf = saved(*window, "no-fit.pdf");
        QVERIFY(!pdf.isEmpty());
        const QImage page = firstPageRendered(pdf);
        QVERIFY(!page.isNull());
        QCOMPARE(pixelsNear(page, graph_colours::curve), 0);
        QVERIFY(pixelsNear(page, graph_colours::point) > 20);
    }

    void longTableGoesOnWithItsHeadsOnEveryPage()
    {
        QString box = "t (s),h (m)\r\n";
        QStringList rows;
        for (int i = 0; i < 150; ++i) {
            const QString t = QString::number(i * 0.1, 'f', 1);
            const QString h = QString::number(100 - 4.905 * i * i * 0.01, 'f', 3);
            box += t + ',' + h + "\r\n";
            rows << QString("%1 %2 %3").arg(i + 1).arg(t, h);
        }
        auto window = openGraph(box);
        named<QComboBox>(*window, "fit")->setCurrentText("quadratic y = a0 + a1 x + a2 x²");
        const QString pdf = saved(*window, "falling.pdf");
        QVERIFY(!pdf.isEmpty());
        const QList<QStringList> pages = pagesOf(pdf);
        QVERIFY(pages.size() >= 3);
        QCOMPARE(pdfInfo(pdf, "Pages"), QString::number(pages.size()));
        for (qsizetype p = 0; p < pages.size(); ++p) {
            QVERIFY2(pages[p].contains("row t (s) h (m)"), qPrintable(pages[p].join('\n')));
            QCOMPARE(pages[p].last(), QString("page %1 of %2").arg(p + 1).arg(pages.size()));
        }
        QVERIFY2(firstMissing(linesOf(pdf), rows).isEmpty(),
                 qPrintable(firstMissing(linesOf(pdf), rows)));
    }

    // All runs on paper: the runs' graph with the table of their fits, and
    // the table of their rows, each named by its run.
    void allRunsGoOnThePageWithTheirFits()
    {
        auto window = openGraph("L = 0.3 m\r\nt (s),x (cm)\r\n0,1\r\n1,3.1\r\n2,4.9\r\n\r\n"
                                "L = 0.5 m\r\nt (s),x (cm)\r\n0,2\r\n1,5.1\r\n2,7.9\r\n");
        QComboBox* data = named<QComboBox>(*window, "data");
        data->setCurrentIndex(data->count() - 1);
        emit data->activated(data->count() - 1);
        named<QComboBox>(*window, "fit")->setCurrentText("straight line y = m x + b");
        const QString pdf = saved(*window, "runs.pdf");
        QVERIFY(!pdf.isEmpty());
        const QStringList lines = linesOf(pdf);
        const QStringList wanted = {"Fit y = m x + b, each run on its own:",
                                    "row run t (s) x (cm)", "1 L = 0.3 m 0 1", "6 L = 0.5 m 2 7.9"};
        QVERIFY2(firstMissing(lines, wanted).isEmpty(),
                 qPrintable(firstMissing(lines, wanted) + "\n---\n" + lines.join('\n')));
        QVERIFY(pixelsNear(firstPageRendered(pdf), graph_colours::run(1)) > 30);
    }

    void histogramReportHoldsItsTextAndTheValuesCounted()
    {
        auto window = openGraph("trial,t (s)\r\n1,0.21\r\n2,0.22\r\n3,0.23\r\n4,0.24\r\n"
                                "5,0.26\r\n6,0.27\r\n7,0.28\r\n8,0.29\r\n");
        named<QComboBox>(*window, "plot")->setCurrentText("histogram");
        const QString pdf = saved(*window, "histogram.pdf");
        QVERIFY(!pdf.isEmpty());
        QStringList wanted = window->noteText().split('\n');
        QCOMPARE(wanted.value(0), QString("N = 8"));
        wanted << "row t (s)"
               << "1 0.21"
               << "8 0.29";
        QVERIFY2(
            firstMissing(linesOf(pdf), wanted).isEmpty(),
            qPrintable(firstMissing(linesOf(pdf), wanted) + "\n---\n" + linesOf(pdf).join('\n')));
        // The bars on the page.
        QVERIFY(pixelsNear(firstPageRendered(pdf), graph_colours::histogram) > 2000);
    }

    void printerGetsTheSamePages()
    {
        auto window = pendulumFitted();
        const QString pdf = saved(*window, "saved.pdf");
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_.filePath("printed.pdf"));
        printer.setPageSize(localPaper());
        QVERIFY(printReportOn(printer, window->reportPanel()->report()));
        QCOMPARE(withoutDate(linesOf(folder_.filePath("printed.pdf"))), withoutDate(linesOf(pdf)));
        QCOMPARE(pdfInfo(folder_.filePath("printed.pdf"), "Page size"), pdfInfo(pdf, "Page size"));
    }

    void titleComesFromTheGraphElseTheFile()
    {
        QCOMPARE(reportTitle("  Pendulum, group 3 ", "/home/s/lab/pendulum.csv"),
                 QString("Pendulum, group 3"));
        QCOMPARE(reportTitle("", "/home/s/lab/pendulum.csv"), QString("pendulum.csv"));
        QCOMPARE(reportTitle("", ""), QString("Bench Tabler report"));
        auto window = openGraph(pendulum, "/home/s/lab/pendulum.csv");
        QCOMPARE(window->labReport().title, QString("pendulum.csv"));
        named<QLineEdit>(*window, "title")->setText("g from a pendulum");
        QCOMPARE(window->labReport().title, QString("g from a pendulum"));
        // The page's heading says it; the graph does not say it again.
        const QStringList lines = linesOf(saved(*window, "titled.pdf"));
        QCOMPARE(lines.count("g from a pendulum"), 1);
    }

    void nameIsRememberedForTheNextGraph()
    {
        {
            auto window = openGraph(pendulum);
            named<QLineEdit>(*window, "name")->setText("Ada and Ben");
        }
        auto window = openGraph(pendulum);
        QCOMPARE(named<QLineEdit>(*window, "name")->text(), QString("Ada and Ben"));
        QCOMPARE(window->reportPanel()->name(), QString("Ada and Ben"));
    }

    void buttonsAskWhereAndWhatThenWriteOrSayWhy()
    {
        auto window = openGraph(pendulum, "/home/s/lab/pendulum.csv");
        QPushButton* save = nullptr;
        QPushButton* print = nullptr;
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            save = button->text() == "Save report..." ? button : save;
            print = button->text() == "Print..." ? button : print;
        }
        QVERIFY(save && print);
        // The dialog proposes the title as the file's name, in the lab directory.
        QDir().mkpath(folder_.filePath("reports"));
        QString proposed;
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            dialog->selectFile(folder_.filePath("reports/mine.pdf"));
            static_cast<QDialog*>(dialog)->accept();
        });
        save->click();
        QCOMPARE(proposed, folder_.filePath("pendulum.csv.pdf"));
        QCOMPARE(pdfInfo(folder_.filePath("reports/mine.pdf"), "Pages"), QString("1"));
        // Next time it starts where the last report went; a folder that is
        // not there is said, nothing written.
        QString message;
        answerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            // Typed: the dialog's list cannot pick a folder that is not there.
            dialog->findChild<QLineEdit*>("fileNameEdit")
                ->setText(folder_.filePath("gone/mine.pdf"));
            closeNextMessage(&message);
            static_cast<QDialog*>(dialog)->accept();
        });
        save->click();
        QCOMPARE(proposed, folder_.filePath("reports/pendulum.csv.pdf"));
        QVERIFY2(message.startsWith("could not save " + folder_.filePath("gone/mine.pdf") + ": "),
                 qPrintable(message));
        // Print... asks with Qt's print dialog; cancelled, nothing happens.
        QString title;
        answerNextDialog<QPrintDialog>([&](QPrintDialog* dialog) {
            title = dialog->windowTitle();
            dialog->reject();
        });
        print->click();
        QCOMPARE(title, QString("Print report"));
        QVERIFY(window->isVisible());
    }

    void saveThatFailsSaysWhy()
    {
        auto window = openGraph(pendulum);
        const QString reason = window->reportPanel()->saveReport(folder_.filePath("no/such/x.pdf"));
        QVERIFY(!reason.isEmpty());
        QVERIFY(!QFile::exists(folder_.filePath("no/such/x.pdf")));
    }

    void batchWritesTheWindowsReport()
    {
        const QString data = folder_.filePath("pendulum.csv");
        QFile file(data);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pendulum);
        file.close();
        const QString pdf = folder_.filePath("batch.pdf");
        const ProcessRun batch =
            run(BENCHTABLER_BATCH,
                {"report", "--pdf", pdf, "--name", "Group 3", "--y", "4", "--sigma-y", "5",
                 "--model", "line", "--result", "4*pi^2/m", "--paper", "letter", data});
        QCOMPARE(batch.exitCode, 0);
        QCOMPARE(batch.err, QString());
        QVERIFY2(pdfInfo(pdf, "Page size").endsWith("(letter)"),
                 qPrintable(pdfInfo(pdf, "Page size")));

        auto window = pendulumFitted();
        const QString fromWindow = saved(*window, "window.pdf");
        QStringList expected = withoutDate(linesOf(fromWindow));
        expected[0] = "pendulum.csv"; // the batch's title: its data file
        QCOMPARE(withoutDate(linesOf(pdf)), expected);
    }

    // A recording of 200 000 rows is a few pages, not 3705: its first and
    // last rows, and a note of what was left out and where it all is.
    void aLongRecordingsReportIsAFewPages()
    {
        QByteArray data = "t (s),U (V)\n";
        for (int i = 0; i < 200000; ++i)
            data += QByteArray::number(i * 0.001, 'f', 3) + ',' +
                    QByteArray::number(1 + (i % 7) * 0.001, 'f', 3) + '\n';
        const QString csv = folder_.filePath("long.csv");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
        file.close();
        const QString pdf = folder_.filePath("long.pdf");
        const ProcessRun batch = run(BENCHTABLER_BATCH, {"report", "--pdf", pdf, csv});
        QCOMPARE(batch.exitCode, 0);
        QVERIFY2(pdfInfo(pdf, "Pages").toInt() <= 7, qPrintable(pdfInfo(pdf, "Pages")));
        const QString all = linesOf(pdf).join(' ');
        QVERIFY2(all.contains("199 750 are left out here. The whole data are in long.csv."),
                 qPrintable(all.left(2000)));
        QVERIFY(linesOf(pdf).contains("200000 199.999 1.002")); // the last row
    }

    // The batch's report draws the residuals and the steepest and shallowest
    // lines as the window's does.
    void batchReportHasTheResidualsAndTheExtremeLines()
    {
        const QString data = folder_.filePath("pendulum.csv");
        QFile file(data);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pendulum);
        file.close();
        const QString plain = folder_.filePath("plain.pdf"), more = folder_.filePath("more.pdf");
        const QStringList common = {"--y", "4", "--sigma-y", "5", "--model", "line", data};
        QCOMPARE(run(BENCHTABLER_BATCH, QStringList{"report", "--pdf", plain} + common).exitCode,
                 0);
        const ProcessRun batch = run(
            BENCHTABLER_BATCH,
            QStringList{"report", "--pdf", more, "--residuals", "--steepest-shallowest"} + common);
        QCOMPARE(batch.exitCode, 0);
        const QString text = linesOf(more).join('\n');
        QVERIFY2(text.contains("slope from the error bars"), qPrintable(text));
        QVERIFY(text.contains("residual"));
        QVERIFY(!linesOf(plain).join('\n').contains("slope from the error bars"));
        QVERIFY(pixelsNear(firstPageRendered(more), graph_colours::extreme) >
                pixelsNear(firstPageRendered(plain), graph_colours::extreme) + 50);
    }

    void batchRefusesWithoutWritingAFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing to plot")
            << QStringList{"report", "--pdf", "%1"} << QByteArray("a,b\nx,y\n") << 1
            << "there is nothing to plot, so no report was written";
        QTest::newRow("no such folder")
            << QStringList{"report", "--pdf", "%1/no/such/r.pdf"} << QByteArray(pendulum) << 2
            << "could not write %1/no/such/r.pdf";
        QTest::newRow("no --pdf") << QStringList{"report"} << QByteArray(pendulum) << 2
                                  << "report needs --pdf FILE";
        QTest::newRow("wrong paper") << QStringList{"report", "--pdf", "%1", "--paper", "a5"}
                                     << QByteArray(pendulum) << 2 << "--paper takes a4 or letter";
    }

    void batchRefusesWithoutWritingAFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString target = folder_.filePath("refused");
        for (QString& argument : arguments)
            argument = argument == "%1" ? target : argument.replace("%1", folder_.path());
        const ProcessRun batch = run(BENCHTABLER_BATCH, arguments, input);
        QCOMPARE(batch.exitCode, exitCode);
        QVERIFY2(batch.err.contains(message.replace("%1", folder_.path())), qPrintable(batch.err));
        QCOMPARE(batch.out, QString());
        QVERIFY(!QFile::exists(target));
    }
};

QTEST_MAIN(ReportTest)
#include "report_test.moc"
