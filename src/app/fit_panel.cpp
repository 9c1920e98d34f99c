#include "app/fit_panel.h"

#include "app/field_check.h"
#include "app/flow_layout.h"
#include "formula/equation.h"

#include <algorithm>

#include <QCheckBox>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* numberField(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setAccessibleName(name);
    field->setMaximumWidth(90);
    return field;
}

ModelKind kindAt(int index) { return modelKinds()[static_cast<std::size_t>(index)]; }

} // namespace

FitPanel::FitPanel(QWidget* parent) : QWidget(parent)
{
    layOut();
    modelChosen();
}

void FitPanel::layOut()
{
    models_ = new QComboBox(this);
    models_->setAccessibleName(QStringLiteral("fit"));
    for (const ModelKind kind : modelKinds())
        models_->addItem(QString::fromStdString(modelItem(kind)));
    degree_ = new QSpinBox(this);
    degree_->setAccessibleName(QStringLiteral("degree"));
    degree_->setRange(lowestDegree, highestDegree);
    degree_->setValue(3);
    from_ = numberField(QStringLiteral("from"), this);
    to_ = numberField(QStringLiteral("to"), this);
    residuals_ = new QCheckBox(QStringLiteral("residuals"), this);

    auto* fitLabel = new QLabel(QStringLiteral("&fit:"), this);
    fitLabel->setBuddy(models_);
    auto* fromLabel = new QLabel(QStringLiteral("from"), this);
    fromLabel->setBuddy(from_);
    auto* toLabel = new QLabel(QStringLiteral("to"), this);
    toLabel->setBuddy(to_);
    auto* choices = new FlowLayout;
    choices->addGroup({fitLabel, models_, degree_});
    choices->addGroup({fromLabel, from_, toLabel, to_});
    choices->addWidget(residuals_);

    equationRow_ = new QWidget(this);
    equation_ = new QLineEdit(equationRow_);
    equation_->setAccessibleName(QStringLiteral("equation"));
    auto* yLabel = new QLabel(QStringLiteral("y ="), equationRow_);
    yLabel->setBuddy(equation_);
    fit_ = new QPushButton(QStringLiteral("Fit"), equationRow_);
    parameterFields_ = new QHBoxLayout;
    auto* row = new QHBoxLayout(equationRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(yLabel);
    row->addWidget(equation_, 1);
    row->addLayout(parameterFields_);
    row->addWidget(fit_);

    resultRow_ = new QWidget(this);
    result_ = new QLineEdit(resultRow_);
    result_->setAccessibleName(QStringLiteral("result"));
    result_->setPlaceholderText(QStringLiteral("formulas in the parameters, e.g. 4*pi^2/m; -b/m"));
    auto* resultLabel = new QLabel(QStringLiteral("res&ult:"), resultRow_);
    resultLabel->setBuddy(result_);
    auto* resultLine = new QHBoxLayout(resultRow_);
    resultLine->setContentsMargins(0, 0, 0, 0);
    resultLine->addWidget(resultLabel);
    resultLine->addWidget(result_, 1);

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addLayout(choices);
    page->addWidget(equationRow_);
    page->addWidget(resultRow_);

    connect(models_, &QComboBox::currentIndexChanged, this, &FitPanel::modelChosen);
    connect(degree_, &QSpinBox::valueChanged, this, &FitPanel::changed);
    connect(equation_, &QLineEdit::textEdited, this, &FitPanel::equationEdited);
    connect(equation_, &QLineEdit::returnPressed, this, &FitPanel::fitEquation);
    connect(fit_, &QPushButton::clicked, this, &FitPanel::fitEquation);
    for (QLineEdit* field : {from_, to_})
        connect(field, &QLineEdit::editingFinished, this, &FitPanel::changed);
    connect(residuals_, &QCheckBox::toggled, this, &FitPanel::changed);
    connect(result_, &QLineEdit::editingFinished, this, &FitPanel::changed);
}

void FitPanel::modelChosen()
{
    const ModelKind kind = kindAt(models_->currentIndex());
    degree_->setVisible(kind == ModelKind::Polynomial);
    equationRow_->setVisible(kind == ModelKind::OwnEquation);
    resultRow_->setVisible(kind != ModelKind::None);
    emit changed();
}

// The parameters of the equation as it is typed, each with its starting
// value field; values typed for a name are kept while the name stays.
void FitPanel::equationEdited()
{
    auto read = Equation::read(equation_->text().toStdString());
    if (const auto* equation = std::get_if<Equation>(&read)) {
        std::vector<std::string> names;
        for (const std::string& name : equation->names())
            if (name != "x" && name != xName_)
                names.push_back(name);
        offerParameters(names);
    }
}

void FitPanel::setChoice(const ModelChoice& model, std::optional<double> from,
                         std::optional<double> to, bool residuals, const std::string& results)
{
    const QSignalBlocker quiet(this); // one re-plot, by the caller
    const auto& kinds = modelKinds();
    const auto at = std::find(kinds.begin(), kinds.end(), model.kind);
    {
        const QSignalBlocker quietModels(models_), quietDegree(degree_);
        models_->setCurrentIndex(at == kinds.end() ? 0 : static_cast<int>(at - kinds.begin()));
        if (model.kind == ModelKind::Polynomial)
            degree_->setValue(model.degree);
    }
    modelChosen();
    equation_->setText(QString::fromStdString(model.equation));
    equationEdited();
    for (auto& [label, field] : starts_) {
        const auto start = model.starts.find(label->text().toStdString());
        field->setText(start == model.starts.end() ? QString()
                                                   : QString::number(start->second, 'g', 15));
    }
    fittedEquation_ = model.kind == ModelKind::OwnEquation ? model : ModelChoice{};
    from_->setText(from ? QString::number(*from, 'g', 15) : QString());
    to_->setText(to ? QString::number(*to, 'g', 15) : QString());
    {
        const QSignalBlocker quietResiduals(residuals_);
        residuals_->setChecked(residuals);
    }
    result_->setText(QString::fromStdString(results));
}

void FitPanel::startFromDefaults()
{
    const QSignalBlocker quiet(this); // one re-plot, by the caller
    equation_->clear();
    offerParameters({});
    fittedEquation_ = ModelChoice{};
    result_->clear();
    from_->clear();
    to_->clear();
}

void FitPanel::setXName(const std::string& name)
{
    if (name == xName_)
        return;
    xName_ = name;
    equationEdited();
}

void FitPanel::offerParameters(const std::vector<std::string>& names)
{
    std::vector<std::pair<QLabel*, QLineEdit*>> kept;
    for (const std::string& name : names) {
        const QString text = QString::fromStdString(name);
        auto same = std::find_if(starts_.begin(), starts_.end(),
                                 [&](const auto& field) { return field.first->text() == text; });
        if (same != starts_.end()) {
            kept.push_back(*same);
            starts_.erase(same);
            continue;
        }
        auto* label = new QLabel(text, equationRow_);
        auto* field = numberField(QStringLiteral("starting value of %1").arg(text), equationRow_);
        field->setPlaceholderText(QStringLiteral("1"));
        label->setBuddy(field);
        connect(field, &QLineEdit::returnPressed, this, &FitPanel::fitEquation);
        kept.emplace_back(label, field);
    }
    for (auto& [label, field] : starts_) {
        delete label;
        delete field;
    }
    starts_ = std::move(kept);
    for (auto& [label, field] : starts_) {
        parameterFields_->addWidget(label);
        parameterFields_->addWidget(field);
    }
    setTabOrder(equation_, starts_.empty() ? static_cast<QWidget*>(fit_) : starts_.front().second);
    for (std::size_t k = 0; k + 1 < starts_.size(); ++k)
        setTabOrder(starts_[k].second, starts_[k + 1].second);
    if (!starts_.empty())
        setTabOrder(starts_.back().second, fit_);
}

void FitPanel::fitEquation()
{
    equationEdited();
    fittedEquation_.kind = ModelKind::OwnEquation;
    fittedEquation_.equation = equation_->text().toStdString();
    fittedEquation_.starts.clear();
    for (const auto& [label, field] : starts_)
        if (const auto value = numberInField(field))
            fittedEquation_.starts[label->text().toStdString()] = *value;
    emit changed();
}

ModelChoice FitPanel::model() const
{
    const ModelKind kind = kindAt(models_->currentIndex());
    if (kind == ModelKind::OwnEquation)
        return fittedEquation_;
    ModelChoice choice;
    choice.kind = kind;
    choice.degree = degree_->value();
    return choice;
}

std::optional<double> FitPanel::from() const { return numberInField(from_); }
std::optional<double> FitPanel::to() const { return numberInField(to_); }

QStringList FitPanel::checkFields()
{
    QStringList notes;
    const auto check = [&notes](QLineEdit* field, const FieldRules& rules) {
        if (const CheckedField checked = checkNumberField(field, rules); !checked.note.isEmpty())
            notes << checked.note;
    };
    check(from_, {QStringLiteral("the field \"from\""),
                  QStringLiteral("the fit starts at the first point"), false, false});
    check(to_, {QStringLiteral("the field \"to\""),
                QStringLiteral("the fit goes on to the last point"), false, false});
    const bool ownEquation = kindAt(models_->currentIndex()) == ModelKind::OwnEquation;
    for (const auto& [label, field] : starts_) {
        if (!ownEquation) {
            checkNumberField(field, {}); // clears a mark
            continue;
        }
        check(field, {QStringLiteral("the starting value of %1").arg(label->text()),
                      QStringLiteral("1 is used"), false, false});
    }
    return notes;
}
bool FitPanel::residuals() const { return residuals_->isChecked(); }
std::string FitPanel::results() const { return result_->text().toStdString(); }

void FitPanel::setRange(double from, double to)
{
    from_->setText(QString::number(from, 'g', 6));
    to_->setText(QString::number(to, 'g', 6));
    emit changed();
}

void FitPanel::clearRange()
{
    if (from_->text().isEmpty() && to_->text().isEmpty())
        return;
    from_->clear();
    to_->clear();
    emit changed();
}
