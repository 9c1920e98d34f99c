#pragma once

#include "graph/histogram.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The histogram's controls in the graph window: the list "bins" (automatic,
// Sturges, width, with the width's field) and the check box "normal curve".
class HistogramPanel : public QWidget {
    Q_OBJECT

public:
    explicit HistogramPanel(QWidget* parent);

    // The bins asked for; a width field without a number gives the
    // automatic bins.
    BinChoice bins() const;
    // Shows bins and the normal curve chosen before.
    void setChoice(const BinChoice& bins, bool normalCurve);
    bool normalCurve() const;
    // Marks the width field when it holds no number; its note.
    QStringList checkFields();

signals:
    void changed();

private:
    QComboBox* rule_ = nullptr;
    QLineEdit* width_ = nullptr;
    QCheckBox* normalCurve_ = nullptr;
};
