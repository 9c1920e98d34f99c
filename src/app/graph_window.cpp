#include "app/graph_window.h"

#include "app/dialogs.h"
#include "app/fit_panel.h"
#include "app/graph_widget.h"
#include "app/uncertainty_panel.h"
#include "data/column_heads.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSvgGenerator>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

constexpr int pauseMilliseconds = 100;
constexpr std::size_t mostJoinedPoints = 100; // more joined look like a solid block
const QSize graphSize(800, 600);              // of a saved or copied image, above its text
constexpr int textMargin = 12;
constexpr int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The text's wrapped lines under the graph, with a line to spare.
int textHeight(const QString& text)
{
    if (text.isEmpty())
        return 0;
    const QFontMetrics metrics(QGuiApplication::font());
    const QRect room(0, 0, graphSize.width() - 2 * textMargin, 1 << 20);
    return metrics.boundingRect(room, textFlags, text).height() + metrics.lineSpacing();
}

// An image as tall as its graph and all of its text.
QSize pageSize(const QString& text) { return graphSize + QSize(0, textHeight(text)); }

// The graph above the text under it, on a white page.
void paintPage(QPainter& painter, const QSize& size, const GraphPlot& plot, bool joinPoints,
               const QString& text)
{
    painter.setFont(QGuiApplication::font());
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    GraphWidget::draw(painter, QRectF(QPointF(0, 0), graphSize), plot, joinPoints);
    painter.setPen(Qt::black);
    painter.drawText(QRect(textMargin, graphSize.height(), size.width() - 2 * textMargin,
                           size.height() - graphSize.height()),
                     textFlags, text);
}

} // namespace

GraphWindow::GraphWindow(std::function<BoxSnapshot()> box, const QString& labDirectory,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), box_(std::move(box)), labDirectory_(labDirectory)
{
    setObjectName(QStringLiteral("GraphWindow"));
    setWindowTitle(QStringLiteral("Bench Tabler - Graph"));
    layOutControls();
    resize(640, 480);
    pause_.setSingleShot(true);
    pause_.setInterval(pauseMilliseconds);
    connect(&pause_, &QTimer::timeout, this, &GraphWindow::replot);
}

void GraphWindow::layOutControls()
{
    block_ = new QComboBox(this);
    block_->setAccessibleName(QStringLiteral("data"));
    block_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    xColumn_ = new QComboBox(this);
    yColumn_ = new QComboBox(this);
    joinPoints_ = new QCheckBox(QStringLiteral("join points"), this);
    joinPoints_->setChecked(true);
    fromZero_ = new QCheckBox(QStringLiteral("start axes at zero"), this);
    fitPanel_ = new FitPanel(this);
    uncertaintyPanel_ = new UncertaintyPanel(this);
    graph_ = new GraphWidget(this);
    notes_ = new QLabel(this);
    notes_->setTextFormat(Qt::PlainText);
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* saveImage = new QPushButton(QStringLiteral("Save image..."), this);
    copyImage_ = new QPushButton(QStringLiteral("Copy image"), this);

    auto* blockLabel = new QLabel(QStringLiteral("&data:"), this);
    blockLabel->setBuddy(block_);
    auto* xLabel = new QLabel(QStringLiteral("&x:"), this);
    xLabel->setBuddy(xColumn_);
    auto* yLabel = new QLabel(QStringLiteral("&y:"), this);
    yLabel->setBuddy(yColumn_);
    xColumn_->setAccessibleName(QStringLiteral("x"));
    yColumn_->setAccessibleName(QStringLiteral("y"));

    auto* choices = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(blockLabel), static_cast<QWidget*>(block_),
                            static_cast<QWidget*>(xLabel), static_cast<QWidget*>(xColumn_),
                            static_cast<QWidget*>(yLabel), static_cast<QWidget*>(yColumn_),
                            static_cast<QWidget*>(joinPoints_), static_cast<QWidget*>(fromZero_)})
        choices->addWidget(widget);
    choices->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveImage);
    buttons->addWidget(copyImage_);
    auto* page = new QVBoxLayout(this);
    page->addLayout(choices);
    page->addWidget(fitPanel_);
    page->addWidget(uncertaintyPanel_);
    page->addWidget(graph_, 1);
    page->addWidget(notes_);
    page->addLayout(buttons);

    connect(block_, &QComboBox::activated, this, [this] {
        chosenBlock_ = block_->currentText();
        columnsChosen();
    });
    // The rule sets the box with its signals blocked: a toggle is the student's.
    connect(joinPoints_, &QCheckBox::toggled, this, [this] {
        joinChosenByHand_ = true;
        replot();
    });
    connect(graph_, &GraphWidget::resized, this, &GraphWindow::boxChanged);
    connect(xColumn_, &QComboBox::activated, this, &GraphWindow::columnsChosen);
    connect(yColumn_, &QComboBox::activated, this, &GraphWindow::columnsChosen);
    connect(fromZero_, &QCheckBox::toggled, this, &GraphWindow::replot);
    connect(fitPanel_, &FitPanel::changed, this, &GraphWindow::replot);
    connect(uncertaintyPanel_, &UncertaintyPanel::changed, this, &GraphWindow::replot);
    connect(graph_, &GraphWidget::rangeDragged, fitPanel_, &FitPanel::setRange);
    connect(graph_, &GraphWidget::rangeCleared, fitPanel_, &FitPanel::clearRange);
    connect(saveImage, &QPushButton::clicked, this, &GraphWindow::askAndSaveImage);
    // Ctrl+W closes the graph, as it closes a document's window.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this), &QShortcut::activated, this,
            &QWidget::close);
    connect(copyImage_, &QPushButton::clicked, this, &GraphWindow::copyImage);
}

void GraphWindow::showAndRaise()
{
    replot();
    show();
    raise();
    activateWindow();
}

void GraphWindow::boxChanged()
{
    if (isVisible())
        pause_.start();
}

void GraphWindow::replot()
{
    pause_.stop();
    const BoxSnapshot box = box_();
    offerBlocks(readGraphBlocks(box.text, box.delimiter));
    offerColumns(table_);
    choice_.widthPixels = graph_->width();
    choice_.heightPixels = graph_->height();
    choice_.fromZero = fromZero_->isChecked();
    choice_.model = fitPanel_->model();
    choice_.fitFrom = fitPanel_->from();
    choice_.fitTo = fitPanel_->to();
    choice_.residuals = fitPanel_->residuals();
    choice_.results = fitPanel_->results();
    choice_.xUncertainty = uncertaintyPanel_->x();
    choice_.yUncertainty = uncertaintyPanel_->y();
    const bool bars = choice_.xUncertainty.kind != UncertaintyChoice::Kind::None ||
                      choice_.yUncertainty.kind != UncertaintyChoice::Kind::None;
    uncertaintyPanel_->allowExtremeLines(bars && choice_.model.kind == ModelKind::Line);
    choice_.extremeLines = uncertaintyPanel_->extremeLines();
    GraphPlot plot = plotGraph(table_, choice_);
    followJoinRule(plot.points.size());
    // The fields' notes first: what the student typed that the graph could not use.
    QStringList notes = fitPanel_->checkFields() + uncertaintyPanel_->checkFields();
    if (const std::string text = plot.text(); !text.empty())
        notes << QString::fromStdString(text);
    notes_->setText(notes.join(QLatin1Char('\n')));
    graph_->setPlot(std::move(plot), joinPoints_->isChecked());
}

// The list of the box's blocks by name; the block chosen stays while there
// is one of its name, else the first is taken.
void GraphWindow::offerBlocks(std::vector<GraphTable> blocks)
{
    QStringList names;
    for (const GraphTable& block : blocks)
        names << QString::fromStdString(block.name);
    int chosen = static_cast<int>(names.indexOf(chosenBlock_));
    if (chosen < 0)
        chosen = 0;
    const QSignalBlocker quiet(block_);
    block_->clear();
    block_->addItems(names);
    block_->setCurrentIndex(chosen);
    block_->setEnabled(names.size() > 1);
    table_ = blocks.empty() ? GraphTable{} : std::move(blocks[static_cast<std::size_t>(chosen)]);
}

// Joined points start on for a hundred points or fewer and off above,
// until the student sets them.
void GraphWindow::followJoinRule(std::size_t points)
{
    if (joinChosenByHand_)
        return;
    const QSignalBlocker quiet(joinPoints_);
    joinPoints_->setChecked(points <= mostJoinedPoints);
}

// Fills the column lists up to the widest row, keeping the student's choice
// while the columns are there, else the default choice.
void GraphWindow::offerColumns(const GraphTable& table)
{
    const int columns = std::max(table.columns, 1);
    QStringList names;
    for (int k = 1; k <= columns; ++k)
        names << QString::fromStdString(columnTitle(table, k));
    if (names != offeredColumns_) {
        const QSignalBlocker blockX(xColumn_), blockY(yColumn_);
        xColumn_->clear();
        yColumn_->clear();
        xColumn_->addItem(QStringLiteral("line number"));
        xColumn_->addItems(names);
        yColumn_->addItems(names);
        uncertaintyPanel_->offerColumns(names);
        offeredColumns_ = names;
    }
    const bool kept =
        columnsChosenByHand_ && choice_.xColumn <= columns && choice_.yColumn <= columns;
    if (!kept) {
        const GraphChoice defaults = defaultChoice(table);
        choice_.xColumn = defaults.xColumn;
        choice_.yColumn = defaults.yColumn;
        columnsChosenByHand_ = false;
    }
    xColumn_->setCurrentIndex(choice_.xColumn);
    yColumn_->setCurrentIndex(choice_.yColumn - 1);
    const ColumnHeads heads = readColumnHeads(table.columnNames);
    uncertaintyPanel_->suggestColumns(heads.uncertaintyColumnOf(choice_.xColumn - 1) + 1,
                                      heads.uncertaintyColumnOf(choice_.yColumn - 1) + 1);
}

void GraphWindow::columnsChosen()
{
    choice_.xColumn = xColumn_->currentIndex();
    choice_.yColumn = yColumn_->currentIndex() + 1;
    columnsChosenByHand_ = true;
    const QSignalBlocker quiet(fitPanel_); // one re-plot for both changes
    fitPanel_->clearRange();
    replot();
}

QString GraphWindow::noteText() const { return notes_->text(); }

QImage GraphWindow::image() const
{
    const QSize size = pageSize(notes_->text());
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    paintPage(painter, size, graph_->plot(), joinPoints_->isChecked(), notes_->text());
    return image;
}

QString GraphWindow::saveImage(const QString& path) const
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) {
        const QSize size = pageSize(notes_->text());
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Bench Tabler graph"));
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("the file cannot be written");
        paintPage(painter, size, graph_->plot(), joinPoints_->isChecked(), notes_->text());
        return painter.end() ? QString() : QStringLiteral("the file cannot be written");
    }
    if (suffix != QLatin1String("png"))
        return QStringLiteral("an image is saved as .png or .svg");
    return image().save(path, "PNG") ? QString() : QStringLiteral("the file cannot be written");
}

void GraphWindow::askAndSaveImage()
{
    const QString path = askFileToSave(this, QStringLiteral("Save image"),
                                       labDirectory_ + QStringLiteral("/graph.png"),
                                       QStringLiteral("PNG image (*.png);;SVG image (*.svg)"));
    if (path.isEmpty())
        return;
    const QString reason = saveImage(path);
    if (!reason.isEmpty())
        showMessageBox(this, QStringLiteral("could not save %1: %2").arg(path, reason));
}

void GraphWindow::copyImage()
{
    QGuiApplication::clipboard()->setImage(image());
    // A note that closes by itself, as the fixed save says "saved to".
    QToolTip::showText(copyImage_->mapToGlobal(QPoint(0, copyImage_->height())),
                       QStringLiteral("copied"), copyImage_, QRect(), 3000);
}
