// The graph window on its own: the fit list and its controls, and what a
// student sees, read from the pixels the window draws.
#include "app/fit_panel.h"
#include "app/graph_painter.h"
#include "app/graph_widget.h"
#include "app/graph_window.h"
#include "graph/legend.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <random>

namespace {

const char* const coolingCurve = "t (s),T (°C)\r\n0,80.0\r\n60,62.3\r\n120,49.1\r\n180,40.7\r\n"
                                 "240,34.4\r\n300,30.4\r\n360,27.5\r\n420,25.7\r\n480,24.3\r\n";

bool near(QRgb pixel, const QColor& colour, int tolerance = 60)
{
    return std::abs(qRed(pixel) - colour.red()) + std::abs(qGreen(pixel) - colour.green()) +
               std::abs(qBlue(pixel) - colour.blue()) <=
           tolerance;
}

// A pixel of the colour within `reach` pixels of a place.
bool colourNear(const QImage& image, QPointF place, const QColor& colour, int reach = 3)
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p = place.toPoint() + QPoint(dx, dy);
            if (image.rect().contains(p) && near(image.pixel(p), colour))
                return true;
        }
    return false;
}

int pixelsOf(const QImage& image, const QColor& colour, const QRect& region)
{
    int count = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            count += image.rect().contains(x, y) && near(image.pixel(x, y), colour);
    return count;
}

// The rows of an image that hold dark (text) pixels, gathered into bands:
// one band a line of text.
int textLines(const QImage& image, const QRect& region)
{
    int lines = 0;
    bool inLine = false;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        bool dark = false;
        for (int x = region.left(); x <= region.right() && !dark; ++x)
            dark = qGray(image.pixel(x, y)) < 100;
        lines += dark && !inLine;
        inLine = dark;
    }
    return lines;
}

// Runs of columns (Horizontal) or rows (Vertical) of a region that hold a
// dark pixel: one run a label, or a letter group.
int darkRuns(const QImage& image, const QRect& region, Qt::Orientation along)
{
    const QRect inside = region.intersected(image.rect());
    const bool horizontal = along == Qt::Horizontal;
    const int first = horizontal ? inside.left() : inside.top();
    const int last = horizontal ? inside.right() : inside.bottom();
    int runs = 0;
    bool inRun = false;
    for (int i = first; i <= last; ++i) {
        bool dark = false;
        const int crossFirst = horizontal ? inside.top() : inside.left();
        const int crossLast = horizontal ? inside.bottom() : inside.right();
        for (int j = crossFirst; j <= crossLast && !dark; ++j)
            dark = qGray(horizontal ? image.pixel(i, j) : image.pixel(j, i)) < 100;
        runs += dark && !inRun;
        inRun = dark;
    }
    return runs;
}

struct Drawing {
    QImage image;
    QRectF plotArea;
};

Drawing drawn(const GraphPlot& plot, bool joinPoints = false)
{
    Drawing drawing{QImage(640, 480, QImage::Format_RGB32), {}};
    drawing.image.fill(Qt::white);
    QPainter painter(&drawing.image);
    drawing.plotArea = GraphWidget::draw(painter, drawing.image.rect(), plot, joinPoints);
    return drawing;
}

// Of 40 places along the fitted curve inside the plot, how many show its colour.
int curvePlacesDrawn(const Drawing& drawing, const GraphPlot& plot)
{
    int inside = 0, shown = 0;
    for (int i = 1; i <= 40; ++i) {
        const double fx = i / 41.0;
        const double x = plot.x.low + fx * (plot.x.high - plot.x.low);
        double y = 0;
        plot.fit->curve(&x, 1, &y);
        const double fy = plot.y.fraction(y);
        if (!(fy > 0.02 && fy < 0.98))
            continue;
        ++inside;
        const QRectF& a = drawing.plotArea;
        shown +=
            colourNear(drawing.image, {a.left() + fx * a.width(), a.bottom() - fy * a.height()},
                       GraphWidget::curveColour);
    }
    return inside == 0 ? -1 : shown * 100 / inside;
}

// Fifty reaction times, read to the millisecond.
QString reactionTimes()
{
    const char* const times[] = {
        "0.242", "0.264", "0.242", "0.240", "0.222", "0.243", "0.281", "0.261", "0.279", "0.256",
        "0.260", "0.254", "0.201", "0.274", "0.264", "0.263", "0.200", "0.198", "0.223", "0.235",
        "0.258", "0.248", "0.264", "0.230", "0.258", "0.260", "0.230", "0.299", "0.265", "0.284",
        "0.231", "0.228", "0.239", "0.246", "0.267", "0.256", "0.236", "0.221", "0.234", "0.284",
        "0.226", "0.256", "0.261", "0.206", "0.250", "0.287", "0.191", "0.240", "0.246", "0.225"};
    QString box = "reaction time t (s)\r\n";
    for (const char* time : times)
        box += QString(time) + "\r\n";
    return box;
}

// The highest row of a pixel column, inside the plot, in the bars' colour.
int barTop(const QImage& image, const QRectF& plot, qreal x)
{
    for (int y = static_cast<int>(plot.top()); y < static_cast<int>(plot.bottom()); ++y)
        if (near(image.pixel(static_cast<int>(x), y), graph_colours::histogram, 30))
            return y;
    return static_cast<int>(plot.bottom());
}

} // namespace

class GraphWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home_;
    QString box_;

    std::unique_ptr<GraphWindow> openGraph(const QString& box)
    {
        box_ = box;
        auto window = std::make_unique<GraphWindow>(
            [this] {
                return BoxSnapshot{box_.toStdString(), ','};
            },
            home_.path(), nullptr);
        window->showAndRaise();
        return window;
    }
    static QComboBox* fitList(GraphWindow& window)
    {
        for (QComboBox* list : window.findChildren<QComboBox*>())
            if (list->accessibleName() == "fit")
                return list;
        return nullptr;
    }
    template <typename Widget> static Widget* named(GraphWindow& window, const QString& name)
    {
        for (Widget* widget : window.findChildren<Widget*>())
            if (widget->accessibleName() == name)
                return widget;
        return nullptr;
    }
    static QLabel* notes(GraphWindow& window)
    {
        for (QLabel* label : window.findChildren<QLabel*>())
            if (label->text() == window.noteText() && !label->text().isEmpty())
                return label;
        return nullptr;
    }

private slots:
    // What the windows remember goes to a test folder, not the user's settings.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // A force pulse with "area" ticked over a dragged range: the area is
    // shaded between the curve and y = 0 inside the range only, and the
    // text gives it with its unit and the selection's statistics.
    void areaIsShadedUnderTheCurveOverTheSelectionOnly()
    {
        const auto force = [](double t) { return 10 * std::pow(std::sin(3.14159265 * t / 2), 2); };
        QString box = QStringLiteral("t (s),F (N)\r\n");
        for (int i = 0; i <= 40; ++i)
            box += QString::number(i * 0.05) + ',' + QString::number(force(i * 0.05)) + "\r\n";
        auto window = openGraph(box);
        window->fitPanel()->setRange(0.5, 1.5);
        named<QCheckBox>(*window, "area")->setChecked(true);
        const GraphPlot& plot = window->graph()->plot();
        QVERIFY(plot.area);
        QCOMPARE(plot.area->from, 0.5);
        QCOMPARE(plot.area->to, 1.5);
        QVERIFY(window->noteText().contains(QStringLiteral("N s from x = 0.5 to 1.5 (21 rows")));
        QVERIFY(window->noteText().contains(QStringLiteral("y over x = 0.5 to 1.5 s: N = 21")));
        const Drawing drawing = drawn(plot);
        const QRectF& a = drawing.plotArea;
        const auto pixelAt = [&](double x, double y) {
            return drawing.image.pixel(QPointF(a.left() + plot.x.fraction(x) * a.width(),
                                               a.bottom() - plot.y.fraction(y) * a.height())
                                           .toPoint());
        };
        const auto shaded = [](QRgb pixel) { return qBlue(pixel) > qRed(pixel) + 20; };
        // Half way between the axis and the curve: inside the range shaded,
        // outside it and above the curve not.
        for (const double x : {0.6, 1.0, 1.4})
            QVERIFY2(shaded(pixelAt(x, force(x) / 2)), qPrintable(QString::number(x)));
        for (const double x : {0.3, 1.7})
            QVERIFY2(!shaded(pixelAt(x, force(x) / 2)), qPrintable(QString::number(x)));
        QVERIFY(!shaded(pixelAt(1.0, force(1.0) + 0.5)));
    }

    // A click on the plot puts the tangent there: the field shows the x,
    // the line touches the curve at it with the slope the text states.
    void aClickDrawsTheTangentWithItsSlope()
    {
        QString box = QStringLiteral("t (s),x (m)\r\n");
        for (int i = 0; i <= 20; ++i)
            box += QString::number(i * 0.1) + ',' + QString::number(0.5 * i * i * 0.01) + "\r\n";
        auto window = openGraph(box);
        window->resize(800, 600);
        GraphWidget* graph = window->graph();
        QTest::qWait(50);
        graph->repaint();
        const double clickedX = 1.2;
        int px = 0; // the pixel column of x = 1.2, found from the drawing
        for (int column = 0; column < graph->width(); ++column)
            if (const auto at = graph->xAt(column); at && *at <= clickedX)
                px = column;
        QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(px, graph->height() / 2));
        QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(px, graph->height() / 2));
        const GraphPlot& plot = graph->plot();
        QVERIFY(plot.tangent);
        const double x = plot.tangent->x;
        QVERIFY(std::fabs(x - clickedX) < 0.01);
        QCOMPARE(named<QLineEdit>(*window, "tangent at x =")->text().toDouble(), x);
        QVERIFY(std::fabs(plot.tangent->slope - x) < 1e-9); // x = t²/2: the speed is t
        QVERIFY(window->noteText().contains(QStringLiteral("m/s (parabola through the 7 nearest rows")));
        const Drawing drawing = drawn(plot);
        const QRectF& d = drawing.plotArea;
        const auto place = [&](double t, double y) {
            return QPointF(d.left() + plot.x.fraction(t) * d.width(),
                           d.bottom() - plot.y.fraction(y) * d.height());
        };
        const QColor tangentColour = graph_colours::extreme;
        QVERIFY(colourNear(drawing.image, place(x, x * x / 2), tangentColour));
        const double reach = (plot.x.high - plot.x.low) / 20;
        for (const double dt : {-reach, reach})
            QVERIFY(colourNear(drawing.image, place(x + dt, x * x / 2 + x * dt), tangentColour, 4));
        // Farther along the line than it is drawn, nothing of its colour.
        QVERIFY(!colourNear(drawing.image, place(x + 0.5, x * x / 2 + x * 0.5), tangentColour, 2));
    }

    void fitListOffersEveryModelWithItsOwnControls()
    {
        auto window = openGraph(coolingCurve);
        QComboBox* list = fitList(*window);
        QVERIFY(list);
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << list->itemText(i);
        QCOMPARE(items, QStringList({"no fit", "straight line y = m x + b", "proportional y = A x",
                                     "quadratic y = a0 + a1 x + a2 x²", "polynomial of degree N",
                                     "exponential y = A e^(B x)",
                                     "exponential with offset y = A e^(B x) + C", "power y = A x^B",
                                     "logarithm y = A + B ln x", "sine y = A sin(B x + C) + D",
                                     "Gaussian y = A e^(-(x - B)²/(2 C²)) + D", "own equation"}));
        auto* degree = named<QSpinBox>(*window, "degree");
        auto* equation = named<QLineEdit>(*window, "equation");
        QVERIFY(degree && equation);
        QCOMPARE(degree->minimum(), 2);
        QCOMPARE(degree->maximum(), 10);
        for (int i = 0; i < list->count(); ++i) {
            list->setCurrentIndex(i);
            QCOMPARE(degree->isVisible(), list->currentText() == "polynomial of degree N");
            QCOMPARE(equation->isVisible(), list->currentText() == "own equation");
        }
        list->setCurrentText("polynomial of degree N");
        degree->setValue(4);
        QVERIFY2(window->noteText().contains("Fit y = a0 + a1 x + a2 x² + a3 x³ + a4 x⁴ through 9 "
                                             "points:"),
                 qPrintable(window->noteText()));
    }

    void eachFitDrawsItsCurveWhereItLies_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("text");
        QTest::newRow("line") << "1,2.1\n2,3.9\n3,6.2\n4,7.8\n5,10.1"
                              << "straight line y = m x + b"
                              << "slope m = 1.990 ± 0.060";
        QTest::newRow("cooling") << coolingCurve << "exponential with offset y = A e^(B x) + C"
                                 << "Fit y = A e^(B x) + C through 9 points:";
        QTest::newRow("parabola") << "0,1.2\n0.1,1.2\n0.2,1.1\n0.3,0.9\n0.4,0.62\n0.5,0.25"
                                  << "quadratic y = a0 + a1 x + a2 x²"
                                  << "a2 = ";
        QTest::newRow("spectral line") << "440,1.2\n445,3.1\n448,7.9\n450,10.4\n452,7.8\n455,3.0\n"
                                          "460,1.1"
                                       << "Gaussian y = A e^(-(x - B)²/(2 C²)) + D"
                                       << "B = 449.968 ± 0.087";
    }

    void eachFitDrawsItsCurveWhereItLies()
    {
        QFETCH(QString, box);
        QFETCH(QString, model);
        QFETCH(QString, text);
        auto window = openGraph(box);
        fitList(*window)->setCurrentText(model);
        QVERIFY2(window->noteText().contains(text), qPrintable(window->noteText()));
        const GraphPlot& plot = window->graph()->plot();
        QVERIFY(plot.fit && plot.fit->fitted());
        QVERIFY(curvePlacesDrawn(drawn(plot), plot) >= 90);
        // And on the window itself.
        const QImage shown = window->graph()->grab().toImage();
        QVERIFY(pixelsOf(shown, GraphWidget::curveColour, shown.rect()) > 50);
    }

    void noCurveWhereThereIsNoFit()
    {
        auto window = openGraph("2,1\n2,5\n2,3"); // all x equal: no line fits
        fitList(*window)->setCurrentText("straight line y = m x + b");
        QVERIFY(window->noteText().contains("have the same x"));
        const Drawing drawing = drawn(window->graph()->plot(), true);
        QCOMPARE(pixelsOf(drawing.image, GraphWidget::curveColour, drawing.image.rect()), 0);
        QVERIFY(pixelsOf(drawing.image, GraphWidget::pointColour, drawing.image.rect()) > 0);
    }

    void ownEquationOffersItsParametersAndFitsOnEnter()
    {
        auto window = openGraph(coolingCurve);
        fitList(*window)->setCurrentText("own equation");
        auto* equation = named<QLineEdit>(*window, "equation");
        QTest::keyClicks(equation, "T0 + A*exp(-k*x)");
        for (const QString name : {"T0", "A", "k"})
            QVERIFY2(named<QLineEdit>(*window, "starting value of " + name), qPrintable(name));
        QVERIFY(!window->graph()->plot().fit); // nothing fitted before Enter or Fit
        // Tab goes from the equation through the starting values, in the
        // equation's order, to Fit.
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        equation->setFocus();
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
            order << (button ? button->text() : QApplication::focusWidget()->accessibleName());
        }
        QCOMPARE(order, QStringList({"starting value of T0", "starting value of A",
                                     "starting value of k", "Fit"}));
        named<QLineEdit>(*window, "starting value of T0")->setText("20");
        named<QLineEdit>(*window, "starting value of A")->setText("60");
        named<QLineEdit>(*window, "starting value of k")->setText("0.01");
        QTest::keyClick(equation, Qt::Key_Return);
        QVERIFY2(window->noteText().contains("Fit y = T0 + A*exp(-k*x) through 9 points:\nT0 = "),
                 qPrintable(window->noteText()));
        QVERIFY(window->noteText().contains("\nk = 0.00"));
        QTest::keyClicks(equation, "*x^0"); // a new name would be offered; none here
        QPushButton* fit = nullptr;
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->text() == "Fit")
                fit = button;
        QVERIFY(fit);
        QTest::mouseClick(fit, Qt::LeftButton);
        QVERIFY(window->noteText().contains("Fit y = T0 + A*exp(-k*x)*x^0 through 9 points"));
    }

    // The tick marks stand outside the plot, as on graph paper's margin: at
    // each labelled tick a dark pixel just outside the frame, none just
    // inside it.
    void tickMarksPointOutOfThePlot()
    {
        GraphPlot plot = openGraph(coolingCurve)->graph()->plot();
        const Drawing drawing = drawn(plot);
        const QRect area = drawing.plotArea.toRect();
        // A line of one pixel may fall between two, each half grey.
        const auto dark = [&](int x, int y) {
            int darkest = 255;
            for (int d = -1; d <= 1; ++d)
                darkest = std::min({darkest, qGray(drawing.image.pixel(x + d, y)),
                                    qGray(drawing.image.pixel(x, y + d))});
            return darkest < 150;
        };
        int ticks = 0;
        for (const double tick : plot.x.ticks) {
            const int x = qRound(area.left() + plot.x.fraction(tick) * area.width());
            if (x < area.left() + 4 || x > area.right() - 4)
                continue;
            ++ticks;
            QVERIFY2(dark(x, area.bottom() + 3) && !dark(x, area.bottom() - 3),
                     qPrintable(QString::number(tick)));
        }
        for (const double tick : plot.y.ticks) {
            const int y = qRound(area.bottom() - plot.y.fraction(tick) * area.height());
            if (y < area.top() + 4 || y > area.bottom() - 4)
                continue;
            ++ticks;
            QVERIFY2(dark(area.left() - 3, y) && !dark(area.left() + 3, y),
                     qPrintable(QString::number(tick)));
        }
        QVERIFY(ticks >= 6);
    }

    void dragChoosesTheRangeAndADoubleClickClearsIt()
    {
        auto window = openGraph(coolingCurve);
        window->resize(800, 600);
        fitList(*window)->setCurrentText("straight line y = m x + b");
        GraphWidget* graph = window->graph();
        QTest::qWait(50);
        graph->repaint();
        const int y = graph->height() / 2;
        int from = 0, to = 0; // pixels of x = 200 and x = 500, found from the drawing
        for (int px = 0; px < graph->width(); ++px) {
            const auto x = graph->xAt(px);
            if (x && *x < 200)
                from = px + 1;
            if (x && *x <= 500)
                to = px;
        }
        // While the mouse moves, the band it drags follows it: shaded from
        // the press to where the mouse is, and no further.
        const auto shaded = [graph](int x) {
            return near(graph->grab().toImage().pixel(x, graph->height() / 3), graph_colours::range,
                        90);
        };
        const int middle = (from + to) / 2;
        QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(from, y));
        for (const int now : {middle, to}) {
            QTest::mouseMove(graph, QPoint(now, y));
            QVERIFY2(shaded((from + now) / 2) && !shaded(now + 10),
                     qPrintable(QString("dragged to %1").arg(now)));
        }
        QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(to, y));
        QVERIFY2(window->noteText().contains("(5 of 9 points)"), qPrintable(window->noteText()));
        QVERIFY(window->noteText().contains("fitted from x = 2"));
        QCOMPARE(graph->plot().fit->points, 5);
        QVERIFY(!named<QLineEdit>(*window, "from")->text().isEmpty());
        QTest::mouseDClick(graph, Qt::LeftButton, {}, QPoint(to, y));
        QVERIFY(!window->noteText().contains("fitted from"));
        QCOMPARE(graph->plot().fit->points, 9);

        named<QLineEdit>(*window, "to")->setText("120"); // the keyboard's way
        QTest::keyClick(named<QLineEdit>(*window, "to"), Qt::Key_Return);
        QVERIFY2(window->noteText().contains("fitted to x = 120 (3 of 9 points)"),
                 qPrintable(window->noteText()));
    }

    void residualsAddAPlotUnderTheGraph()
    {
        auto window = openGraph(coolingCurve);
        fitList(*window)->setCurrentText("straight line y = m x + b");
        const Drawing without = drawn(window->graph()->plot());
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            if (box->text() == "residuals")
                box->click();
        const GraphPlot& plot = window->graph()->plot();
        QCOMPARE(plot.residuals.size(), 9u);
        const Drawing with = drawn(plot);
        QVERIFY(with.plotArea.height() < without.plotArea.height() * 0.8);
        // The residual plot's markers lie below the main plot.
        const auto below = [](const Drawing& drawing) {
            const int top = static_cast<int>(drawing.plotArea.bottom()) + 10;
            return QRect(0, top, drawing.image.width(), drawing.image.height() - top);
        };
        QVERIFY(pixelsOf(with.image, GraphWidget::pointColour, below(with)) > 20);
        QCOMPARE(pixelsOf(without.image, GraphWidget::pointColour, below(without)), 0);
    }

    void uncertaintyListsOfferColumnsAFixedValueAndAPercentage()
    {
        auto window = openGraph("L (m),T (s),u (s)\r\n0.2,0.90,0.02\r\n0.4,1.27,0.02");
        for (const QString name : {"x uncertainty", "y uncertainty"}) {
            QComboBox* list = named<QComboBox>(*window, name);
            QVERIFY2(list, qPrintable(name));
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->itemText(i);
            QCOMPARE(items, QStringList({"none", "L (m)", "T (s)", "u (s)", "fixed value",
                                         "percentage of the value"}));
            QLineEdit* value = named<QLineEdit>(*window, name + " value");
            for (int i = 0; i < list->count(); ++i) {
                list->setCurrentIndex(i);
                QCOMPARE(value->isVisible(), i >= 4);
            }
            list->setCurrentIndex(0);
        }
    }

    void uncertaintyListsTakeTheColumnsUncertaintyUntilTheStudentChooses()
    {
        auto window = openGraph("L (m),T (s),u(T) (s)\r\n0.2,0.90,0.02\r\n0.4,1.27,0.02\r\n"
                                "0.6,1.55,0.03");
        QComboBox* x = named<QComboBox>(*window, "x");
        QComboBox* y = named<QComboBox>(*window, "y");
        QComboBox* ux = named<QComboBox>(*window, "x uncertainty");
        QComboBox* uy = named<QComboBox>(*window, "y uncertainty");
        QCOMPARE(ux->currentText(), QString("none"));
        QCOMPARE(uy->currentText(), QString("u(T) (s)"));
        QCOMPARE(window->graph()->plot().bars.size(), 3u);
        const auto choose = [](QComboBox* list, int index) {
            list->setCurrentIndex(index);
            emit list->activated(index);
        };
        choose(y, 0); // y = L: no uncertainty column
        QCOMPARE(uy->currentText(), QString("none"));
        choose(x, 2); // x = T
        QCOMPARE(ux->currentText(), QString("u(T) (s)"));
        choose(y, 1); // y = T again
        QCOMPARE(uy->currentText(), QString("u(T) (s)"));
        uy->setCurrentText("fixed value"); // the student's own choice then stays
        choose(y, 0);
        choose(y, 1);
        QCOMPARE(uy->currentText(), QString("fixed value"));
    }

    void resultsFollowTheFitAndStayThroughRefits()
    {
        auto window = openGraph("L (m),T² (s²)\r\n0.2,0.81\r\n0.4,1.62\r\n0.6,2.40\r\n"
                                "0.8,3.22\r\n1.0,4.01\r\n");
        fitList(*window)->setCurrentText("straight line y = m x + b");
        QLineEdit* result = named<QLineEdit>(*window, "result");
        QVERIFY(result && result->isVisible());
        QTest::keyClicks(result, "4*pi^2/m; g");
        QTest::keyClick(result, Qt::Key_Return);
        // By hand: Sxy = 1.6, Sxx = 0.4, SSE = 0.00028, so m = 4.000 ± 0.015275
        // and 4π²/m = 9.8696 ± 9.8696 · 0.015275/4.
        QVERIFY2(window->noteText().contains(
                     "\n4*pi^2/m = 9.870 ± 0.038 m/s^2\n"
                     "g: \"g\" is not a parameter of this fit; its parameters are m and b"),
                 qPrintable(window->noteText()));
        box_ += "1.2,4.80\r\n";
        window->replot();
        QVERIFY2(window->noteText().contains("through 6 points") &&
                     window->noteText().contains("\n4*pi^2/m = "),
                 qPrintable(window->noteText()));
        fitList(*window)->setCurrentText("no fit");
        QVERIFY(!result->isVisible());
        QVERIFY(!window->noteText().contains("4*pi^2/m"));
    }

    void fieldsThatHoldNoNumberAreFramedAndNamed()
    {
        auto window = openGraph(coolingCurve);
        fitList(*window)->setCurrentText("straight line y = m x + b");
        QLineEdit* to = named<QLineEdit>(*window, "to");
        const auto redPixels = [](QWidget* widget) {
            const QImage image = widget->grab().toImage();
            int red = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    red += near(image.pixel(x, y), QColor(0xd0, 0, 0), 90);
            return red;
        };
        // A decimal comma is a number: 400,5 takes the points up to 400.5.
        to->setText("400,5");
        QTest::keyClick(to, Qt::Key_Return);
        QVERIFY2(window->noteText().contains("fitted to x = 400.5 (7 of 9 points)"),
                 qPrintable(window->noteText()));
        QCOMPARE(redPixels(to), 0);
        to->setText("4OO"); // letters O
        QTest::keyClick(to, Qt::Key_Return);
        QVERIFY2(window->noteText().startsWith("the field \"to\" holds no number (\"4OO\" is not "
                                               "a number); the fit goes on to the last point\n"),
                 qPrintable(window->noteText()));
        QCOMPARE(window->graph()->plot().fit->points, 9);
        QVERIFY(redPixels(to) > 20);

        // "2%" in the percentage field is 2 %: every point has its bars.
        QComboBox* uy = named<QComboBox>(*window, "y uncertainty");
        QLineEdit* value = named<QLineEdit>(*window, "y uncertainty value");
        uy->setCurrentText("percentage of the value");
        QVERIFY(window->noteText().contains(
            "the field beside \"y uncertainty\" is empty; type the percentage there; y has no "
            "error bars until then"));
        QVERIFY(redPixels(value) > 20);
        value->setText("2%");
        QTest::keyClick(value, Qt::Key_Return);
        QVERIFY2(!window->noteText().contains("y uncertainty"), qPrintable(window->noteText()));
        QCOMPARE(redPixels(value), 0);
        const GraphPlot& plot = window->graph()->plot();
        QCOMPARE(plot.bars.size(), 9u);
        QCOMPARE(plot.bars[0].uy, 80.0 * 0.02);
    }

    void thePlotKeepsHalfTheWindowAndTheButtonsStayInIt()
    {
        QString box = "x,y\r\n";
        for (int i = 0; i < 30; ++i)
            box += QString("%1,%2\r\n").arg(i).arg(std::sin(i / 3.0) * 10 + i);
        auto window = openGraph(box);
        window->resize(1000, 700);
        fitList(*window)->setCurrentText("polynomial of degree N");
        named<QSpinBox>(*window, "degree")->setValue(2);
        QTest::qWait(20);
        const int shortText = window->graph()->height();
        named<QSpinBox>(*window, "degree")->setValue(10); // fourteen lines of text
        QTest::qWait(20);
        QVERIFY2(window->noteText().count('\n') >= 13, qPrintable(window->noteText()));
        QCOMPARE(window->graph()->height(), shortText);
        QVERIFY(window->graph()->height() >= window->height() / 2);
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            if (!button->isVisible())
                continue;
            const QRect place(button->mapTo(window.get(), QPoint(0, 0)), button->size());
            QVERIFY2(window->rect().contains(place), qPrintable(button->text()));
        }
        QPushButton* copyText = nullptr;
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (button->text() == "Copy text")
                copyText = button;
        QVERIFY(copyText);
        copyText->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), window->noteText());
    }

    void everyAxisHasFourLabelsAtEverySize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("small") << QSize(420, 360);
        QTest::newRow("laptop") << QSize(760, 520);
        QTest::newRow("large") << QSize(1400, 900);
    }

    void everyAxisHasFourLabelsAtEverySize()
    {
        QFETCH(QSize, size);
        // A spectral line: its y axis once showed only 0 and 1000.
        auto window = openGraph("440,12\r\n445,310\r\n448,790\r\n450,1040\r\n452,780\r\n"
                                "455,300\r\n460,11\r\n");
        window->graph()->resize(size);
        window->replot();
        const GraphPlot& plot = window->graph()->plot();
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QRectF area = GraphWidget::draw(painter, image.rect(), plot, false);
        painter.end();
        // Labels are runs of dark pixels under the x axis and left of the y axis.
        const int xLabels =
            darkRuns(image, QRect(area.left() - 20, area.bottom() + 6, area.width() + 40, 12),
                     Qt::Horizontal);
        const int yLabels = darkRuns(
            image, QRect(area.left() - 40, area.top() - 6, 32, area.height() + 12), Qt::Vertical);
        QVERIFY2(xLabels >= 4, qPrintable(QString::number(xLabels)));
        QVERIFY2(yLabels >= 4, qPrintable(QString::number(yLabels)));
    }

    void largeAndSmallNumbersShareAPowerOfTen()
    {
        // Charges of oil drops, multiples of 1.6 × 10⁻¹⁹ C.
        auto window = openGraph("n,q (C)\r\n1,1.6e-19\r\n2,3.2e-19\r\n3,4.8e-19\r\n4,6.4e-19\r\n");
        window->graph()->resize(640, 480);
        window->replot();
        const GraphPlot& plot = window->graph()->plot();
        QCOMPARE(QString::fromStdString(plot.y.powerLabel()), QString("× 10⁻¹⁹"));
        QCOMPARE(QString::fromStdString(plot.y.labels.front()).size(), 3); // "1.5"
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QRectF area = GraphWidget::draw(painter, image.rect(), plot, false);
        painter.end();
        // "× 10⁻¹⁹" over the top of the y axis; the labels beside it short.
        QVERIFY(darkRuns(image, QRect(area.left(), area.top() - 16, 80, 14), Qt::Horizontal) >= 2);
        QVERIFY(area.left() < 90);
    }

    void logAxesTickThePowersOfTen()
    {
        // A filter's response falling from 1000 to 0.1.
        auto window = openGraph("f (Hz),A\r\n10,1000\r\n100,100\r\n1000,10\r\n10000,1\r\n"
                                "100000,0.1\r\n200000,0\r\n");
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            if (box->text() == "log x" || box->text() == "log y")
                box->click();
        const GraphPlot& plot = window->graph()->plot();
        QVERIFY(plot.x.logarithmic && plot.y.logarithmic);
        QVERIFY2(window->noteText().contains("1 row has a value of 0 or less, which a log axis "
                                             "cannot show; it is line 7: \"200000,0\"") &&
                     window->noteText().contains("log-log axes: a power law"),
                 qPrintable(window->noteText()));
        QCOMPARE(plot.points.size(), 5u);
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QRectF area = GraphWidget::draw(painter, image.rect(), plot, false);
        painter.end();
        // A tick mark left of the y axis at each power of ten, none between.
        const auto tickAt = [&](double y) {
            const double row = area.bottom() - plot.y.fraction(y) * area.height();
            int darkest = 255;
            for (int r = static_cast<int>(row) - 1; r <= static_cast<int>(row) + 1; ++r)
                darkest =
                    std::min(darkest, qGray(image.pixel(static_cast<int>(area.left()) - 3, r)));
            return darkest < 160;
        };
        for (const double power : {0.1, 1.0, 10.0, 100.0, 1000.0})
            QVERIFY2(tickAt(power), qPrintable(QString::number(power) + " " +
                                               QString::fromStdString(plot.y.labels.front())));
        QVERIFY(!tickAt(31.6));
        // Equal room for each power of ten: the points of a power law in a line.
        const double step = plot.y.fraction(100) - plot.y.fraction(10);
        QVERIFY(std::fabs(plot.y.fraction(10) - plot.y.fraction(1) - step) < 1e-9);
    }

    void theLegendKeepsClearOfThePointsAndTheTitleStandsAbove()
    {
        // Points in the top left and bottom right: the legend takes the top right.
        auto window = openGraph("x,y\r\n0,10\r\n1,9\r\n2,8.5\r\n8,2\r\n9,1\r\n10,0.5\r\n");
        fitList(*window)->setCurrentText("straight line y = m x + b");
        named<QLineEdit>(*window, "title")->setText("Cooling of a cup");
        const GraphPlot& plot = window->graph()->plot();
        QCOMPARE(QString::fromStdString(plot.title), QString("Cooling of a cup"));
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const QRectF area = GraphWidget::draw(painter, image.rect(), plot, false);
        painter.end();
        const QRect topRight(area.center().x(), area.top(), area.width() / 2, area.height() / 3);
        const QRect bottomLeft(area.left(), area.bottom() - area.height() / 3, area.width() / 2,
                               area.height() / 3);
        // The legend's box: white over the grid, a dark frame; no point under it.
        QVERIFY(pixelsOf(image, QColor(Qt::darkGray), topRight) > 40);
        QVERIFY(pixelsOf(image, QColor(Qt::darkGray), bottomLeft) < 10);
        for (const Point& p : plot.points) {
            const QPointF at(area.left() + plot.x.fraction(p.x) * area.width(),
                             area.bottom() - plot.y.fraction(p.y) * area.height());
            QVERIFY(!topRight.contains(at.toPoint()));
        }
        // The title over the plot.
        QVERIFY(darkRuns(image, QRect(area.center().x() - 80, 0, 160, area.top() - 2),
                         Qt::Horizontal) >= 3);
    }

    void barsWithCapsTheLinesThroughThemAndChiSquared()
    {
        // A pendulum's period against its length, ±0.08 s from column 3.
        auto window = openGraph("L (m),T (s),u (s)\r\n0.2,0.90,0.08\r\n0.4,1.27,0.08\r\n"
                                "0.6,1.55,0.08\r\n0.8,1.79,0.08\r\n1.0,2.01,0.08\r\n");
        QCheckBox* extremes = nullptr;
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            if (box->text() == "steepest and shallowest lines")
                extremes = box;
        QVERIFY(extremes && !extremes->isEnabled());
        QComboBox* y = named<QComboBox>(*window, "y uncertainty");
        y->setCurrentText("u (s)");
        const GraphPlot& bars = window->graph()->plot();
        QCOMPARE(bars.bars.size(), 5u);
        const Drawing drawing = drawn(bars);
        // The cap at the top of the first bar: barColour left and right of the bar's end.
        const QRectF& a = drawing.plotArea;
        const auto at = [&](double x, double y) {
            return QPointF(a.left() + bars.x.fraction(x) * a.width(),
                           a.bottom() - bars.y.fraction(y) * a.height());
        };
        QVERIFY(
            colourNear(drawing.image, at(0.2, 0.98) + QPointF(-2, 0), GraphWidget::barColour, 1));
        QVERIFY(
            colourNear(drawing.image, at(0.2, 0.98) + QPointF(2, 0), GraphWidget::barColour, 1));

        fitList(*window)->setCurrentText("straight line y = m x + b");
        QVERIFY(extremes->isEnabled());
        QVERIFY2(window->noteText().contains("\nχ² = ") &&
                     window->noteText().contains("± from the given uncertainties"),
                 qPrintable(window->noteText()));
        QCOMPARE(pixelsOf(drawn(window->graph()->plot()).image, GraphWidget::extremeColour,
                          drawing.image.rect()),
                 0);
        extremes->click();
        const GraphPlot& lines = window->graph()->plot();
        QVERIFY2(window->noteText().contains("slope from the error bars: m = "),
                 qPrintable(window->noteText()));
        QVERIFY(lines.extremes);
        QVERIFY(pixelsOf(drawn(lines).image, GraphWidget::extremeColour, drawing.image.rect()) >
                40);
    }

    void dataListOffersEachBlockAndColumnListsTheirNames()
    {
        // A cooling curve, then what Difference Quotient appended under it.
        box_ = QString(coolingCurve) +
               "********* Difference Quotients appear in Third Column, then below as Single "
               "Column.\r\n0,80\r\n 60, 62.3,-.295\r\n 120, 49.1,-.22\r\n\r\n"
               "********* Difference Quotients in Single Column.\r\n-.295\r\n-.22\r\n";
        auto window = openGraph(box_);
        QComboBox* data = named<QComboBox>(*window, "data");
        QVERIFY(data);
        QStringList items;
        for (int i = 0; i < data->count(); ++i)
            items << data->itemText(i);
        QCOMPARE(items, QStringList({"t (s),T (°C)", "********* Difference Quotients appear in...",
                                     "********* Difference Quotients in Single...", "all runs"}));
        QCOMPARE(window->graph()->plot().points.size(), 9u); // the first block, alone
        QCOMPARE(named<QComboBox>(*window, "x")->itemText(1), QString("t (s)"));
        QCOMPARE(named<QComboBox>(*window, "y")->itemText(1), QString("T (°C)"));

        data->setCurrentIndex(2);
        emit data->activated(2);
        QCOMPARE(window->graph()->plot().points.size(), 2u);
        box_ += "-.1\r\n"; // the choice stays while its block is there
        window->replot();
        QCOMPARE(data->currentIndex(), 2);
        QCOMPARE(window->graph()->plot().points.size(), 3u);
    }

    void joinedPointsAndTicksSuitHowManyAndHowLarge()
    {
        QString many;
        for (int i = 0; i < 101; ++i)
            many += QString::number(i) + "," + QString::number(i % 7) + "\r\n";
        auto window = openGraph(many);
        QCheckBox* join = nullptr;
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            if (box->text() == "join points")
                join = box;
        QVERIFY(!join->isChecked()); // 101 joined noisy points are a block
        box_ = coolingCurve;
        window->replot();
        QVERIFY(join->isChecked());
        join->click(); // the student's choice then stays
        box_ = many;
        window->replot();
        QVERIFY(!join->isChecked());
        box_ = coolingCurve;
        window->replot();
        QVERIFY(!join->isChecked());

        window->resize(1100, 700);
        QTest::qWait(200); // the re-plot after a resize
        const Axis& x = window->graph()->plot().x;
        QVERIFY2(x.ticks.size() >= 10, qPrintable(QString::number(x.ticks.size())));
    }

    void notesStandOnLinesOfTheirOwnAndTheSavedImageHoldsThemAll()
    {
        // Two notes (a field that holds no number, a row without y), then the
        // fit's five lines.
        QString box = "t,x\r\n0,\r\n";
        for (int i = 1; i <= 10005; ++i)
            box += QString("%1,%2\r\n").arg(i).arg(2 * i + i % 3);
        auto window = openGraph(box);
        named<QLineEdit>(*window, "to")->setText("end");
        fitList(*window)->setCurrentText("straight line y = m x + b");
        const QStringList lines = window->noteText().split('\n');
        QVERIFY2(lines.size() == 7, qPrintable(window->noteText()));
        QLabel* label = notes(*window);
        QVERIFY(label);
        window->resize(900, 700);
        QTest::qWait(20);
        // Beside the plot the longer notes wrap: seven lines or more.
        QVERIFY(textLines(label->grab().toImage(), label->rect()) >= 7);
        QVERIFY(label->textInteractionFlags() & Qt::TextSelectableByMouse);
        label->setSelection(0, 4);
        QVERIFY(label->hasSelectedText());

        const QString png = home_.path() + "/graph.png";
        QCOMPARE(window->saveImage(png), QString());
        const QImage saved(png);
        QVERIFY(saved.height() > 600);
        QCOMPARE(textLines(saved, QRect(0, 600, saved.width(), saved.height() - 600)), 7);
    }

    void histogramHidesXAndTheFitAndOffersItsBins()
    {
        auto window = openGraph(reactionTimes());
        auto* plotKind = named<QComboBox>(*window, "plot");
        QVERIFY(plotKind);
        QCOMPARE(plotKind->itemText(0), QString("points"));
        QCOMPARE(plotKind->itemText(1), QString("histogram"));
        auto* bins = named<QComboBox>(*window, "bins");
        QVERIFY(bins && !bins->isVisible());
        plotKind->setCurrentIndex(1);
        QVERIFY(bins->isVisible());
        QVERIFY(!named<QComboBox>(*window, "x")->isVisible());
        QVERIFY(!fitList(*window)->isVisible());
        QCOMPARE(window->noteText(),
                 QString("N = 50\nmean = 0.2466 ± 0.0035 s (± the standard error s/√N)\n"
                         "s = 0.024 s (standard deviation, N - 1)\n"
                         "36 of 50 values (72 %) lie within mean ± s; for a normal distribution "
                         "about 68 % would"));
        // A width typed: its field shows; text there is framed and named.
        auto* width = named<QLineEdit>(*window, "bin width");
        bins->setCurrentText("width");
        QVERIFY(width->isVisible());
        width->setText("0.o2");
        emit width->editingFinished();
        QVERIFY2(window->noteText().startsWith("the field \"bin width\" holds no number"),
                 qPrintable(window->noteText()));
        width->setText("0.02");
        emit width->editingFinished();
        QCOMPARE(window->graph()->plot().histogram->counts,
                 (std::vector<std::size_t>{2, 3, 13, 15, 12, 5}));
        plotKind->setCurrentIndex(0);
        QVERIFY(named<QComboBox>(*window, "x")->isVisible() && fitList(*window)->isVisible());
        QVERIFY(!window->graph()->plot().histogram);
    }

    // A tuning fork's tone: the spectrum's highest point stands at its
    // frequency on the drawn axis, the window list shows, the fit hides.
    void spectrumPeakStandsAtTheTonesFrequency()
    {
        QString box = "t (s),p (Pa)\r\n";
        for (int i = 0; i < 4096; ++i)
            box += QString::number(i / 8000.0, 'f', 10) + "," +
                   QString::number(0.2 * std::sin(2 * M_PI * 1234.5 * i / 8000.0), 'f', 6) + "\r\n";
        auto window = openGraph(box);
        auto* windows = named<QComboBox>(*window, "window");
        QVERIFY(windows && !windows->isVisible());
        auto* plotKind = named<QComboBox>(*window, "plot");
        QCOMPARE(plotKind->itemText(2), QString("spectrum"));
        plotKind->setCurrentIndex(2);
        QVERIFY(windows->isVisible());
        QVERIFY(!fitList(*window)->isVisible());
        QVERIFY(named<QComboBox>(*window, "x")->isVisible());
        QVERIFY2(window->noteText().contains("peak at 1234.5"), qPrintable(window->noteText()));
        const GraphPlot& plot = window->graph()->plot();
        QCOMPARE(plot.xTitle, std::string("frequency (Hz)"));
        const Drawing drawing = drawn(plot, true);
        const QRectF& area = drawing.plotArea;
        int topY = static_cast<int>(area.bottom()), topX = -1;
        for (int x = static_cast<int>(area.left()) + 1; x < static_cast<int>(area.right()); ++x)
            for (int y = static_cast<int>(area.top()); y < topY; ++y)
                if (near(drawing.image.pixel(x, y), graph_colours::point, 40)) {
                    topY = y;
                    topX = x;
                    break;
                }
        QVERIFY(topX > 0);
        // The middle of the marker's top row.
        int right = topX;
        while (near(drawing.image.pixel(right + 1, topY), graph_colours::point, 40))
            ++right;
        const double middle = (topX + right) / 2.0;
        const double f =
            plot.x.low + (middle - area.left()) / area.width() * (plot.x.high - plot.x.low);
        const double pixel = (plot.x.high - plot.x.low) / area.width();
        QVERIFY2(std::abs(f - 1234.5) <= 2 * pixel, qPrintable(QString::number(f)));
        // The peak stands at its amplitude on the y axis.
        const double top = plot.y.low + (area.bottom() - topY) / area.height() * (plot.y.high - plot.y.low);
        QVERIFY2(std::abs(top - 0.2) < 0.02, qPrintable(QString::number(top)));
        windows->setCurrentText("Blackman");
        QVERIFY(window->noteText().startsWith("Spectrum of p (Pa), Blackman window"));
    }

    void histogramBarsStandAsHighAsTheirCountsUnderTheNormalCurve()
    {
        auto window = openGraph(reactionTimes());
        named<QComboBox>(*window, "plot")->setCurrentIndex(1);
        auto* normalCurve = window->findChild<QCheckBox*>();
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            normalCurve = box->text() == "normal curve" ? box : normalCurve;
        QVERIFY(normalCurve->isChecked());
        normalCurve->setChecked(false);
        GraphPlot plot = window->graph()->plot();
        const Histogram& histogram = *plot.histogram;
        const Drawing bars = drawn(plot);
        const QRectF& area = bars.plotArea;
        for (std::size_t i = 0; i < histogram.counts.size(); ++i) {
            const double middle = (histogram.edges[i] + histogram.edges[i + 1]) / 2;
            const qreal x = area.left() + plot.x.fraction(middle) * area.width();
            const qreal top =
                area.bottom() -
                plot.y.fraction(static_cast<double>(histogram.counts[i])) * area.height();
            QVERIFY2(std::abs(barTop(bars.image, area, x) - top) <= 2,
                     qPrintable(QString("bin %1: %2 against %3")
                                    .arg(i)
                                    .arg(barTop(bars.image, area, x))
                                    .arg(top)));
        }
        QVERIFY(plot.curve.empty());
        // With the curve: its colour where the normal distribution puts it,
        // at the mean and 1.5 s either side.
        normalCurve->setChecked(true);
        plot = window->graph()->plot();
        const Drawing curve = drawn(plot);
        const double s = histogram.standardDeviation;
        for (const double at : {-1.5, 0.0, 1.5}) {
            const double x = histogram.mean + at * s;
            const double expected =
                50 * histogram.binWidth * std::exp(-at * at / 2) / (s * std::sqrt(2 * M_PI));
            const QPointF place(area.left() + plot.x.fraction(x) * area.width(),
                                area.bottom() - plot.y.fraction(expected) * area.height());
            QVERIFY2(
                colourNear(curve.image, place + QPointF(at == 0 ? 4 : 0, 0), graph_colours::curve),
                qPrintable(QString::number(at)));
            QVERIFY(!colourNear(bars.image, place + QPointF(at == 0 ? 4 : 0, 0),
                                graph_colours::curve, 1));
        }
        // The saved image shows the bars.
        const QString png = home_.path() + "/histogram.png";
        QCOMPARE(window->saveImage(png), QString());
        QVERIFY(pixelsOf(QImage(png), graph_colours::histogram, QImage(png).rect()) > 5000);
    }

    // "All runs": every run with the columns of the block chosen, each in its
    // colour, named in the legend; a block with other columns left out.
    void allRunsDrawEachRunInItsColour()
    {
        QString box;
        for (int run = 0; run < 3; ++run) {
            box += QString("L = 0.%1 m\r\nt (s),x (cm)\r\n").arg(run + 3);
            for (int i = 0; i <= 10; ++i)
                box += QString("%1,%2\r\n").arg(i).arg(10 * run + i);
            box += "\r\n";
        }
        box += "mass (g)\r\n100\r\n200\r\n";
        auto window = openGraph(box);
        QComboBox* data = named<QComboBox>(*window, "data");
        QCOMPARE(data->itemText(data->count() - 1), QString("all runs"));
        data->setCurrentIndex(data->count() - 1);
        emit data->activated(data->count() - 1);
        const GraphPlot& plot = window->graph()->plot();
        QCOMPARE(plot.runs.size(), 3u);
        QVERIFY2(window->noteText().contains(
                     "the block \"mass (g)\" has other columns and is not drawn"),
                 qPrintable(window->noteText()));
        const Drawing drawing = drawn(plot);
        const QRectF& a = drawing.plotArea;
        for (std::size_t r = 0; r < plot.runs.size(); ++r) {
            const QColor colour = graph_colours::run(r);
            int shown = 0;
            for (const Point& p : plot.runs[r].points) {
                const QPointF at(a.left() + plot.x.fraction(p.x) * a.width(),
                                 a.bottom() - plot.y.fraction(p.y) * a.height());
                shown += colourNear(drawing.image, at, colour, 3);
            }
            QVERIFY2(shown >= 9, qPrintable(QString("run %1: %2 of 11").arg(r).arg(shown)));
        }
        // The legend names the runs by their headings.
        const std::vector<LegendEntry> legend = legendEntries(plot);
        QCOMPARE(legend.size(), 3u);
        QCOMPARE(QString::fromStdString(legend[2].text), QString("L = 0.5 m"));
        // A fit per run, each curve in its run's colour.
        fitList(*window)->setCurrentText("straight line y = m x + b");
        const GraphPlot& fitted = window->graph()->plot();
        QVERIFY2(window->noteText().contains("Fit y = m x + b, each run on its own:"),
                 qPrintable(window->noteText()));
        const Drawing curves = drawn(fitted);
        for (std::size_t r = 0; r < fitted.runs.size(); ++r)
            QVERIFY(pixelsOf(curves.image, graph_colours::run(r), curves.plotArea.toRect()) > 100);
    }

    // 1.000 V with 0.010 V of noise, far more readings than pixel columns: the
    // plot is darkest where most readings lie, at 1.000, not in two bands of
    // each column's extremes; in the residual plot likewise at 0.
    void denseNoisyReadingsAreDarkestAtTheirMean_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("800 rows") << 800;
        QTest::newRow("3000 rows") << 3000;
        QTest::newRow("20000 rows") << 20000;
    }
    void denseNoisyReadingsAreDarkestAtTheirMean()
    {
        QFETCH(int, rows);
        std::mt19937 engine(7);
        std::normal_distribution<double> noise(0, 0.010);
        std::string box = "t (s),U (V)\r\n";
        for (int i = 0; i < rows; ++i)
            box += std::to_string(i * 0.002) + "," + std::to_string(1 + noise(engine)) + "\r\n";
        const GraphTable table = readGraphTable(box, ',');
        GraphChoice choice = defaultChoice(table);
        choice.model.kind = ModelKind::Line;
        choice.residuals = true;
        const GraphPlot plot = plotGraph(table, choice);
        const Drawing drawing = drawn(plot);
        const QRectF& area = drawing.plotArea;
        // The darkness of each pixel row across the plot, the curve's colour left out.
        const auto darkestRow = [&](const QRectF& band) {
            int darkest = -1;
            long most = -1;
            for (int y = static_cast<int>(band.top()) + 2; y < static_cast<int>(band.bottom()) - 1;
                 ++y) {
                long darkness = 0;
                for (int x = static_cast<int>(band.left()) + 2;
                     x < static_cast<int>(band.right()) - 1; ++x) {
                    const QRgb pixel = drawing.image.pixel(x, y);
                    if (qBlue(pixel) > qRed(pixel) + 20) // the points' blue, not the red curve
                        darkness += 255 - qGray(pixel);
                }
                if (darkness > most) {
                    most = darkness;
                    darkest = y;
                }
            }
            return darkest;
        };
        const qreal meanRow = area.bottom() - plot.y.fraction(1.0) * area.height();
        const int darkest = darkestRow(area);
        QVERIFY2(std::abs(darkest - meanRow) <= 0.06 * area.height(),
                 qPrintable(QString("darkest row %1, the mean at %2").arg(darkest).arg(meanRow)));
        // The residual plot lies under the main one, its zero line in the curve's colour.
        const QRectF residuals(area.left(), area.bottom() + 10, area.width(),
                               drawing.image.height() - area.bottom() - 40);
        const int residualDarkest = darkestRow(residuals);
        int zeroRow = -1;
        for (int y = static_cast<int>(residuals.top()); y < static_cast<int>(residuals.bottom());
             ++y)
            if (near(drawing.image.pixel(static_cast<int>(area.left()) + 1, y),
                     graph_colours::curve, 90))
                zeroRow = y;
        QVERIFY(zeroRow > 0);
        QVERIFY2(
            std::abs(residualDarkest - zeroRow) <= 6,
            qPrintable(
                QString("residuals darkest at %1, zero at %2").arg(residualDarkest).arg(zeroRow)));
    }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
