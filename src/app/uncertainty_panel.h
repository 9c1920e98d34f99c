#pragma once

#include "graph/error_bars.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The graph window's choice of error bars: where the uncertainties of x and
// of y come from (none, a column, a fixed value or a percentage of each
// value, with a field for the number), and the steepest and shallowest
// lines through every bar.
class UncertaintyPanel : public QWidget {
    Q_OBJECT

public:
    explicit UncertaintyPanel(QWidget* parent = nullptr);

    // The columns the lists offer, by the names the column lists show; the
    // choice of a column stays while it is there.
    void offerColumns(const QStringList& names);
    // The columns (from 1) that hold the uncertainties of the x and y columns
    // now chosen, or 0: each list takes its column, or none, until the
    // student chooses in it.
    void suggestColumns(int x, int y);

    // Shows a choice made before (a session opened, a block chosen again):
    // each list as the student left it, no longer following suggestions.
    void setChoice(const UncertaintyChoice& x, const UncertaintyChoice& y, bool extremeLines);
    UncertaintyChoice x() const;
    UncertaintyChoice y() const;
    bool extremeLines() const;
    // Marks a value field that is empty or holds no number with a red frame,
    // and gives the notes that name them.
    QStringList checkFields();
    // The check box stands only where it can be used: a straight line with
    // error bars.
    void allowExtremeLines(bool allowed);

signals:
    void changed();

private:
    struct Source {
        QComboBox* list = nullptr;
        QLineEdit* value = nullptr;
        bool chosenByHand = false;
    };
    void addSource(Source& source, const QString& name, class FlowLayout* row);
    UncertaintyChoice choiceOf(const Source& source) const;
    void showValueFields();

    Source x_;
    Source y_;
    QCheckBox* extremeLines_ = nullptr;
    int columns_ = 0;
};
