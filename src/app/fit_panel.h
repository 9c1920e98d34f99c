#pragma once

#include "fit/model.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The graph window's choice of fit: the list of models, the polynomial's
// degree, the own equation with a starting value for each of its parameters
// and its Fit button, the x range the fit takes, the residuals, and the
// results worked out from the fitted parameters.
class FitPanel : public QWidget {
    Q_OBJECT

public:
    explicit FitPanel(QWidget* parent = nullptr);

    // The model to fit: the own equation as it was when Fit was last
    // pressed (none before that).
    ModelChoice model() const;
    std::optional<double> from() const;
    std::optional<double> to() const;
    bool residuals() const;
    // The "result" field: formulas in the fit's parameters, separated by ";".
    std::string results() const;

    // Marks each number field that holds text that is no number with a red
    // frame, and gives the notes that name them; clears the others' marks.
    QStringList checkFields();

    // The range as dragged on the graph, or none.
    // Shows a fit chosen before (a session opened, a block chosen again):
    // the model, the own equation with its starting values, the range, the
    // residuals and the result formulas.
    void setChoice(const ModelChoice& model, std::optional<double> from, std::optional<double> to,
                   bool residuals, const std::string& results);
    // New data: no own equation, starting values, result formulas or range;
    // the kind of fit stays.
    void startFromDefaults();
    // The x column's name, which the equation may use for x: it gets no
    // starting value field.
    void setXName(const std::string& name);
    void setRange(double from, double to);
    void clearRange();

signals:
    // Anything that changes what the graph shows.
    void changed();

private:
    void layOut();
    void modelChosen();
    void equationEdited();
    void fitEquation();
    void offerParameters(const std::vector<std::string>& names);

    std::string xName_;
    QComboBox* models_ = nullptr;
    QSpinBox* degree_ = nullptr;
    QWidget* equationRow_ = nullptr;
    QLineEdit* equation_ = nullptr;
    QHBoxLayout* parameterFields_ = nullptr;
    std::vector<std::pair<QLabel*, QLineEdit*>> starts_;
    QPushButton* fit_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QCheckBox* residuals_ = nullptr;
    QWidget* resultRow_ = nullptr;
    QLineEdit* result_ = nullptr;
    ModelChoice fittedEquation_; // kind None until Fit is pressed
};
