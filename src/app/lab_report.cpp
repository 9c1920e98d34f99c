#include "app/lab_report.h"

#include "app/graph_painter.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr qreal margin = 48;        // points, on every side
constexpr int bodySize = 9;         // points
constexpr int titleSize = 16;
constexpr int resolution = 72;      // one unit a point

QFont fontOf(int points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    font.setBold(bold);
    // Plain letters, no ligatures: "fit" must be found by a search of the PDF
    // and copied out of it as three letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// Where everything on the pages goes, worked out before anything is painted
// so that each page can say how many there are.
struct Layout {
    QRectF content;       // inside the margins
    qreal lineHeight = 0; // of the table's rows
    qreal firstTableTop = 0;
    int rowsOnFirstPage = 0;
    int rowsPerPage = 0;
    int pages = 1;
};

qreal textHeight(const QString& text, const QRectF& content, QPaintDevice* device)
{
    const QFontMetricsF metrics(fontOf(bodySize), device);
    return metrics.boundingRect(content, Qt::TextWordWrap, text).height();
}

Layout layOut(const LabReport& report, const QRectF& page, int dpi, QPaintDevice* device)
{
    Layout layout;
    const qreal scale = static_cast<qreal>(dpi) / resolution;
    layout.content = page.adjusted(margin * scale, margin * scale, -margin * scale, -margin * scale);
    const QFontMetricsF title(fontOf(titleSize, true), device), body(fontOf(bodySize), device);
    layout.lineHeight = body.lineSpacing() * 1.25;
    const qreal foot = body.lineSpacing() * 2;
    qreal top = layout.content.top() + title.lineSpacing() + body.lineSpacing() * 2 +
                reportGraphHeight * scale + body.lineSpacing();
    if (!report.text.isEmpty())
        top += textHeight(report.text, layout.content, device) + body.lineSpacing();
    layout.firstTableTop = top;
    const qreal bottom = layout.content.bottom() - foot;
    const auto rowsIn = [&](qreal from) {
        return std::max(0, static_cast<int>((bottom - from) / layout.lineHeight) - 1); // the heads
    };
    layout.rowsOnFirstPage = rowsIn(top);
    layout.rowsPerPage = std::max(1, rowsIn(layout.content.top()));
    const int rows = static_cast<int>(report.table.rows.size());
    const int rest = std::max(0, rows - layout.rowsOnFirstPage);
    layout.pages = 1 + (rest + layout.rowsPerPage - 1) / layout.rowsPerPage;
    return layout;
}

// The heads, then the rows from `first`, as many as `count`; the y under them.
void paintTable(QPainter& painter, const ReportTable& table, const Layout& layout, qreal top,
                std::size_t first, std::size_t count)
{
    const qreal width = layout.content.width() / static_cast<qreal>(table.heads.size());
    const auto cell = [&](std::size_t column, qreal y) {
        return QRectF(layout.content.left() + width * static_cast<qreal>(column), y, width - 4,
                      layout.lineHeight);
    };
    painter.setFont(fontOf(bodySize, true));
    for (std::size_t k = 0; k < table.heads.size(); ++k)
        painter.drawText(cell(k, top), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromStdString(table.heads[k]));
    painter.drawLine(QPointF(layout.content.left(), top + layout.lineHeight),
                     QPointF(layout.content.right(), top + layout.lineHeight));
    painter.setFont(fontOf(bodySize));
    qreal y = top + layout.lineHeight;
    for (std::size_t r = first; r < std::min(first + count, table.rows.size()); ++r) {
        for (std::size_t k = 0; k < table.rows[r].size(); ++k)
            painter.drawText(cell(k, y), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::fromStdString(table.rows[r][k]));
        y += layout.lineHeight;
    }
}

void paintFoot(QPainter& painter, const Layout& layout, int page)
{
    painter.setFont(fontOf(bodySize));
    painter.drawText(QRectF(layout.content.left(), layout.content.bottom() - layout.lineHeight,
                            layout.content.width(), layout.lineHeight),
                     Qt::AlignHCenter | Qt::AlignBottom,
                     QStringLiteral("page %1 of %2").arg(page).arg(layout.pages));
}

// Page 1 above the table: the title, the name and date, the graph, the text.
void paintFirstPage(QPainter& painter, const LabReport& report, const Layout& layout, int dpi)
{
    const QFontMetricsF title(fontOf(titleSize, true), painter.device());
    const QFontMetricsF body(fontOf(bodySize), painter.device());
    qreal y = layout.content.top();
    painter.setFont(fontOf(titleSize, true));
    painter.drawText(QRectF(layout.content.left(), y, layout.content.width(), title.lineSpacing()),
                     Qt::AlignLeft | Qt::AlignVCenter, report.title);
    y += title.lineSpacing();
    painter.setFont(fontOf(bodySize));
    const QString byWhom =
        report.name.isEmpty() ? report.when : report.name + QStringLiteral(" - ") + report.when;
    painter.drawText(QRectF(layout.content.left(), y, layout.content.width(), body.lineSpacing()),
                     Qt::AlignLeft | Qt::AlignVCenter, byWhom);
    y += body.lineSpacing() * 2;
    const QRectF graph(layout.content.left(), y, layout.content.width(),
                       reportGraphHeight * dpi / resolution);
    painter.save();
    painter.setFont(fontOf(bodySize));
    drawGraph(painter, graph, report.plot, report.joinPoints);
    painter.restore();
    y += graph.height() + body.lineSpacing();
    if (!report.text.isEmpty()) {
        painter.setFont(fontOf(bodySize));
        painter.drawText(QRectF(layout.content.left(), y, layout.content.width(),
                                layout.content.bottom() - y),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, report.text);
    }
}

} // namespace

LabReport makeLabReport(const GraphTable& table, GraphChoice choice, char delimiter,
                        const QString& wholeData)
{
    choice.widthPixels = reportGraphWidth;
    choice.heightPixels = reportGraphHeight;
    LabReport report;
    report.plot = plotGraph(table, choice);
    report.plot.title.clear();
    report.when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    report.joinPoints = report.plot.points.size() <= mostJoinedPoints;
    report.text = QString::fromStdString(report.plot.text());
    report.table = reportTable(table, choice, report.plot, delimiter, wholeData.toStdString());
    if (!report.table.note.empty())
        report.text += QStringLiteral("\n") + QString::fromStdString(report.table.note);
    return report;
}

LabReport makeLabReport(const std::vector<GraphTable>& blocks, std::size_t block,
                        GraphChoice choice, char delimiter, const QString& wholeData)
{
    static const GraphTable none;
    const GraphTable& table = block < blocks.size() ? blocks[block] : none;
    if (!choice.allRuns || choice.histogram)
        return makeLabReport(table, choice, delimiter, wholeData);
    choice.widthPixels = reportGraphWidth;
    choice.heightPixels = reportGraphHeight;
    LabReport report;
    report.plot = plotRuns(blocks, block, choice);
    report.plot.title.clear();
    report.when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    std::size_t points = 0;
    for (const RunPlot& run : report.plot.runs)
        points += run.points.size();
    report.joinPoints = points <= mostJoinedPoints;
    report.text = QString::fromStdString(report.plot.text());
    report.table =
        reportTableOfRuns(blocks, choice, report.plot, delimiter, wholeData.toStdString());
    if (!report.table.note.empty())
        report.text += QStringLiteral("\n") + QString::fromStdString(report.table.note);
    return report;
}

int reportPages(QPagedPaintDevice& device, const LabReport& report)
{
    const QRectF page(0, 0, device.width(), device.height());
    return layOut(report, page, device.logicalDpiY(), &device).pages;
}

QString reportTitle(const QString& graphTitle, const QString& dataFile)
{
    if (!graphTitle.trimmed().isEmpty())
        return graphTitle.trimmed();
    if (!dataFile.isEmpty() && dataFile != QLatin1String("-"))
        return QFileInfo(dataFile).fileName();
    return QStringLiteral("Bench Tabler report");
}

bool paintReport(QPagedPaintDevice& device, const LabReport& report)
{
    const int dpi = device.logicalDpiY();
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF page(0, 0, device.width(), device.height());
    const Layout layout = layOut(report, page, dpi, &device);
    painter.setPen(Qt::black);
    paintFirstPage(painter, report, layout, dpi);
    std::size_t row = 0;
    if (!report.table.rows.empty() && layout.rowsOnFirstPage > 0) {
        paintTable(painter, report.table, layout, layout.firstTableTop, 0,
                   static_cast<std::size_t>(layout.rowsOnFirstPage));
        row = static_cast<std::size_t>(layout.rowsOnFirstPage);
    }
    paintFoot(painter, layout, 1);
    for (int page = 2; page <= layout.pages; ++page) {
        device.newPage();
        painter.setPen(Qt::black);
        paintTable(painter, report.table, layout, layout.content.top(), row,
                   static_cast<std::size_t>(layout.rowsPerPage));
        row += static_cast<std::size_t>(layout.rowsPerPage);
        paintFoot(painter, layout, page);
    }
    return painter.end();
}

QByteArray reportPdf(const LabReport& report, const QPageSize& paper)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(paper);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(resolution);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("Bench Tabler"));
        if (!paintReport(writer, report))
            return {};
    }
    return pdf;
}

QPageSize localPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
               ? QPageSize(QPageSize::Letter)
               : QPageSize(QPageSize::A4);
}
