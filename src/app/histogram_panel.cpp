#include "app/histogram_panel.h"

#include "app/field_check.h"
#include "app/flow_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

bool widthChosen(const QComboBox* rule) { return rule->currentIndex() == 2; }

} // namespace

HistogramPanel::HistogramPanel(QWidget* parent) : QWidget(parent)
{
    rule_ = new QComboBox(this);
    rule_->addItems({QStringLiteral("automatic"), QStringLiteral("Sturges"), QStringLiteral("width")});
    rule_->setAccessibleName(QStringLiteral("bins"));
    width_ = new QLineEdit(this);
    width_->setAccessibleName(QStringLiteral("bin width"));
    width_->setFixedWidth(70);
    width_->setVisible(false);
    normalCurve_ = new QCheckBox(QStringLiteral("normal curve"), this);
    normalCurve_->setChecked(true);
    auto* label = new QLabel(QStringLiteral("&bins:"), this);
    label->setBuddy(rule_);

    auto* row = new FlowLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addGroup({label, rule_, width_});
    row->addWidget(normalCurve_);

    connect(rule_, &QComboBox::currentIndexChanged, this, [this] {
        width_->setVisible(widthChosen(rule_));
        emit changed();
    });
    connect(width_, &QLineEdit::editingFinished, this, &HistogramPanel::changed);
    connect(normalCurve_, &QCheckBox::toggled, this, &HistogramPanel::changed);
}

BinChoice HistogramPanel::bins() const
{
    if (rule_->currentIndex() == 1)
        return {BinChoice::Rule::Sturges, 0};
    if (widthChosen(rule_))
        if (const std::optional<double> width = numberInField(width_))
            return {BinChoice::Rule::Width, *width};
    return {};
}

void HistogramPanel::setChoice(const BinChoice& bins, bool normalCurve)
{
    const QSignalBlocker quietRule(rule_), quietCurve(normalCurve_);
    rule_->setCurrentIndex(bins.rule == BinChoice::Rule::Sturges ? 1
                           : bins.rule == BinChoice::Rule::Width ? 2
                                                                  : 0);
    width_->setText(bins.rule == BinChoice::Rule::Width ? QString::number(bins.width, 'g', 15)
                                                        : QString());
    width_->setVisible(widthChosen(rule_));
    normalCurve_->setChecked(normalCurve);
}

bool HistogramPanel::normalCurve() const { return normalCurve_->isChecked(); }

QStringList HistogramPanel::checkFields()
{
    if (!widthChosen(rule_)) {
        checkNumberField(width_, {}); // clears a mark
        return {};
    }
    const CheckedField checked =
        checkNumberField(width_, {QStringLiteral("the field \"bin width\""),
                                  QStringLiteral("the bins are chosen automatically"), false, true});
    return checked.note.isEmpty() ? QStringList() : QStringList(checked.note);
}
