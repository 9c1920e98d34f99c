#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The readings' controls in the graph window: the check box "area", the
// field "tangent at x =" with the rows its local fit takes, and the button
// that clears the selection (the dragged range) back to the whole block.
class ReadingsPanel : public QWidget {
    Q_OBJECT

public:
    explicit ReadingsPanel(QWidget* parent);

    bool area() const;
    // The tangent's x; none when the field is empty or holds no number.
    std::optional<double> tangentAt() const;
    int tangentRows() const;
    // Shows the readings chosen before.
    void setChoice(bool area, std::optional<double> tangentAt, int tangentRows);
    // A click on the plot: the tangent there, written to the step's
    // hundredth.
    void setTangentAt(double x, double step);
    // Marks the tangent field when it holds no number; its note.
    QStringList checkFields();

signals:
    void changed();
    void selectionCleared();

private:
    QCheckBox* area_ = nullptr;
    QLineEdit* tangentAt_ = nullptr;
    QSpinBox* tangentRows_ = nullptr;
    QPushButton* wholeBlock_ = nullptr;
};
