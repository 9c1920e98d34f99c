#include "app/uncertainty_panel.h"

#include "data/number_reading.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString noneItem = QStringLiteral("none");
const QString fixedItem = QStringLiteral("fixed value");
const QString percentageItem = QStringLiteral("percentage of the value");

} // namespace

UncertaintyPanel::UncertaintyPanel(QWidget* parent) : QWidget(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    x_ = addSource(QStringLiteral("x uncertainty"), row);
    y_ = addSource(QStringLiteral("y uncertainty"), row);
    extremeLines_ = new QCheckBox(QStringLiteral("steepest and shallowest lines"), this);
    row->addWidget(extremeLines_);
    row->addStretch();
    connect(extremeLines_, &QCheckBox::toggled, this, &UncertaintyPanel::changed);
    offerColumns({});
    allowExtremeLines(false);
}

UncertaintyPanel::Source UncertaintyPanel::addSource(const QString& name, QHBoxLayout* row)
{
    Source source{new QComboBox(this), new QLineEdit(this)};
    source.list->setAccessibleName(name);
    source.value->setAccessibleName(name + QStringLiteral(" value"));
    source.value->setFixedWidth(70);
    auto* label = new QLabel(name + QStringLiteral(":"), this);
    label->setBuddy(source.list);
    row->addWidget(label);
    row->addWidget(source.list);
    row->addWidget(source.value);
    connect(source.list, &QComboBox::currentIndexChanged, this, [this] {
        showValueFields();
        emit changed();
    });
    connect(source.value, &QLineEdit::editingFinished, this, &UncertaintyPanel::changed);
    return source;
}

void UncertaintyPanel::offerColumns(const QStringList& names)
{
    for (const Source* source : {&x_, &y_}) {
        const UncertaintyChoice before = choiceOf(*source);
        const QSignalBlocker quiet(source->list);
        source->list->clear();
        source->list->addItem(noneItem);
        source->list->addItems(names);
        source->list->addItem(fixedItem);
        source->list->addItem(percentageItem);
        int index = 0;
        if (before.kind == UncertaintyChoice::Kind::Column && before.column <= names.size())
            index = before.column;
        else if (before.kind == UncertaintyChoice::Kind::Fixed)
            index = static_cast<int>(names.size()) + 1;
        else if (before.kind == UncertaintyChoice::Kind::Percentage)
            index = static_cast<int>(names.size()) + 2;
        source->list->setCurrentIndex(index);
    }
    columns_ = static_cast<int>(names.size());
    showValueFields();
}

UncertaintyChoice UncertaintyPanel::choiceOf(const Source& source) const
{
    UncertaintyChoice choice;
    const int index = source.list->currentIndex();
    if (index <= 0)
        return choice;
    if (index <= columns_) {
        choice.kind = UncertaintyChoice::Kind::Column;
        choice.column = index;
        return choice;
    }
    choice.kind = index == columns_ + 1 ? UncertaintyChoice::Kind::Fixed
                                        : UncertaintyChoice::Kind::Percentage;
    // A field that holds no number of 0 or more gives no bars, and a note.
    choice.value = readAnswer(source.value->text().toStdString()).value_or(-1);
    return choice;
}

void UncertaintyPanel::showValueFields()
{
    for (const Source* source : {&x_, &y_})
        source->value->setVisible(source->list->currentIndex() > columns_);
}

UncertaintyChoice UncertaintyPanel::x() const { return choiceOf(x_); }
UncertaintyChoice UncertaintyPanel::y() const { return choiceOf(y_); }
bool UncertaintyPanel::extremeLines() const
{
    return extremeLines_->isEnabled() && extremeLines_->isChecked();
}

void UncertaintyPanel::allowExtremeLines(bool allowed) { extremeLines_->setEnabled(allowed); }
