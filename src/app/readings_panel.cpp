#include "app/readings_panel.h"

#include "app/field_check.h"
#include "app/flow_layout.h"
#include "format/report_number.h"
#include "graph/axis.h"
#include "readings/tangent.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <cmath>

ReadingsPanel::ReadingsPanel(QWidget* parent) : QWidget(parent)
{
    area_ = new QCheckBox(QStringLiteral("&area"), this);
    area_->setAccessibleName(QStringLiteral("area"));
    tangentAt_ = new QLineEdit(this);
    tangentAt_->setAccessibleName(QStringLiteral("tangent at x ="));
    tangentAt_->setPlaceholderText(QStringLiteral("click the graph"));
    tangentAt_->setFixedWidth(110);
    auto* tangentLabel = new QLabel(QStringLiteral("tan&gent at x ="), this);
    tangentLabel->setBuddy(tangentAt_);
    tangentRows_ = new QSpinBox(this);
    tangentRows_->setRange(fewestTangentRows, mostTangentRows);
    tangentRows_->setValue(defaultTangentRows);
    tangentRows_->setSuffix(QStringLiteral(" rows"));
    tangentRows_->setAccessibleName(QStringLiteral("tangent rows"));
    wholeBlock_ = new QPushButton(QStringLiteral("Whole block"), this);
    wholeBlock_->setToolTip(QStringLiteral("clear the selection: the readings take every row"));

    auto* row = new FlowLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(area_);
    row->addGroup({tangentLabel, tangentAt_, tangentRows_});
    row->addWidget(wholeBlock_);

    connect(area_, &QCheckBox::toggled, this, &ReadingsPanel::changed);
    connect(tangentAt_, &QLineEdit::editingFinished, this, &ReadingsPanel::changed);
    connect(tangentRows_, &QSpinBox::valueChanged, this, &ReadingsPanel::changed);
    connect(wholeBlock_, &QPushButton::clicked, this, &ReadingsPanel::selectionCleared);
}

bool ReadingsPanel::area() const { return area_->isChecked(); }

std::optional<double> ReadingsPanel::tangentAt() const { return numberInField(tangentAt_); }

int ReadingsPanel::tangentRows() const { return tangentRows_->value(); }

void ReadingsPanel::setChoice(bool area, std::optional<double> tangentAt, int tangentRows)
{
    const QSignalBlocker quietArea(area_), quietField(tangentAt_), quietRows(tangentRows_);
    area_->setChecked(area);
    tangentAt_->setText(tangentAt ? QString::fromStdString(typedValue(*tangentAt)) : QString());
    tangentRows_->setValue(tangentRows);
}

void ReadingsPanel::setTangentAt(double x, double step)
{
    const double grain = step / 100;
    tangentAt_->setText(QString::fromStdString(
        grain > 0 ? tickLabel(std::round(x / grain) * grain, grain) : typedValue(x)));
    emit changed();
}

QStringList ReadingsPanel::checkFields()
{
    const CheckedField checked = checkNumberField(
        tangentAt_, {QStringLiteral("the field \"tangent at x =\""), QStringLiteral("no tangent is drawn")});
    return checked.note.isEmpty() ? QStringList() : QStringList(checked.note);
}
