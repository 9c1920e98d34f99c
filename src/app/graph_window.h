#pragma once

#include "graph/graph_plot.h"

#include <QHash>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

class FitPanel;
class UncertaintyPanel;
class GraphWidget;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the graph plots: the box text (CR LF line breaks) and the delimiter in force.
struct BoxSnapshot {
    std::string text;
    char delimiter;
};

// The separate, resizable window "Bench Tabler - Graph": the box plotted as
// it is now, re-plotted shortly after every change, with a choice of
// columns, a fitted curve and the graph saved as an image.
class GraphWindow : public QWidget {
    Q_OBJECT

public:
    // `labDirectory` is where the image dialog starts.
    GraphWindow(std::function<BoxSnapshot()> box, const QString& labDirectory, QWidget* parent);

    // Shows the window, or raises it when it is open already.
    void showAndRaise();
    // The box or the delimiter changed: re-plot once changes pause for 100 ms.
    void boxChanged();
    // Re-plots at once.
    void replot();

    // The text under the graph: rows left out, and the fit.
    QString noteText() const;
    GraphWidget* graph() const { return graph_; }
    FitPanel* fitPanel() const { return fitPanel_; }

    // Writes the graph, its titles and the text under it as a PNG or an SVG
    // file, chosen by the extension; the reason when it could not.
    QString saveImage(const QString& path) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layOutControls();
    void connectControls();
    QSize openingSize() const;
    void copyText();
    void offerColumns(const GraphTable& table);
    void columnsChosen();
    void askAndSaveImage();
    void copyImage();
    QImage image() const;
    void offerBlocks(std::vector<GraphTable> blocks);
    void followJoinRule(std::size_t points);

    std::function<BoxSnapshot()> box_;
    QString labDirectory_;
    QTimer pause_;
    GraphTable table_;    // the chosen block
    QString chosenBlock_; // its name
    bool joinChosenByHand_ = false;
    GraphChoice choice_;
    bool columnsChosenByHand_ = false;
    QStringList offeredColumns_; // the names in the column lists now

    QComboBox* block_ = nullptr;
    QComboBox* xColumn_ = nullptr;
    QComboBox* yColumn_ = nullptr;
    QCheckBox* joinPoints_ = nullptr;
    QCheckBox* fromZero_ = nullptr;
    QCheckBox* logX_ = nullptr;
    QCheckBox* logY_ = nullptr;
    QLineEdit* title_ = nullptr;
    QHash<QString, QString> titles_; // each data block's title while the window is open
    FitPanel* fitPanel_ = nullptr;
    UncertaintyPanel* uncertaintyPanel_ = nullptr;
    GraphWidget* graph_ = nullptr;
    QLabel* notes_ = nullptr;
    QPushButton* copyImage_ = nullptr;
    QPushButton* copyText_ = nullptr;
};
