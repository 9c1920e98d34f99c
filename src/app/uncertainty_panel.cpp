#include "app/uncertainty_panel.h"

#include "app/field_check.h"
#include "app/flow_layout.h"

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
    auto* row = new FlowLayout(this);
    addSource(x_, QStringLiteral("x uncertainty"), row);
    addSource(y_, QStringLiteral("y uncertainty"), row);
    extremeLines_ = new QCheckBox(QStringLiteral("steepest and shallowest lines"), this);
    row->addWidget(extremeLines_);
    connect(extremeLines_, &QCheckBox::toggled, this, &UncertaintyPanel::changed);
    offerColumns({});
    allowExtremeLines(false);
}

void UncertaintyPanel::addSource(Source& source, const QString& name, FlowLayout* row)
{
    source.list = new QComboBox(this);
    source.value = new QLineEdit(this);
    source.list->setAccessibleName(name);
    source.value->setAccessibleName(name + QStringLiteral(" value"));
    source.value->setFixedWidth(70);
    auto* label = new QLabel(name + QStringLiteral(":"), this);
    label->setBuddy(source.list);
    row->addGroup({label, source.list, source.value});
    // The panel changes the lists with their signals blocked: a change seen
    // here is the student's, and ends the suggestions for that list.
    connect(source.list, &QComboBox::currentIndexChanged, this, [this, &source] {
        source.chosenByHand = true;
        showValueFields();
        emit changed();
    });
    connect(source.value, &QLineEdit::editingFinished, this, &UncertaintyPanel::changed);
}

void UncertaintyPanel::suggestColumns(int x, int y)
{
    for (const auto& [source, column] : {std::pair{&x_, x}, std::pair{&y_, y}}) {
        if (source->chosenByHand || column > columns_)
            continue;
        const QSignalBlocker quiet(source->list);
        source->list->setCurrentIndex(column);
    }
    showValueFields();
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
    choice.value = numberInField(source.value, choice.kind == UncertaintyChoice::Kind::Percentage)
                       .value_or(-1);
    return choice;
}

QStringList UncertaintyPanel::checkFields()
{
    QStringList notes;
    for (const auto& [source, axis] :
         {std::pair{&x_, QStringLiteral("x")}, std::pair{&y_, QStringLiteral("y")}}) {
        const int index = source->list->currentIndex();
        if (index <= columns_) {
            checkNumberField(source->value, {}); // hidden: no mark
            continue;
        }
        const bool percentage = index == columns_ + 2;
        const CheckedField checked = checkNumberField(
            source->value,
            {QStringLiteral("the field beside \"%1 uncertainty\"").arg(axis),
             QStringLiteral("type the %1 there; %2 has no error bars until then")
                 .arg(percentage ? QStringLiteral("percentage") : QStringLiteral("uncertainty"),
                      axis),
             percentage, true});
        if (!checked.note.isEmpty())
            notes << checked.note;
    }
    return notes;
}

void UncertaintyPanel::showValueFields()
{
    for (const Source* source : {&x_, &y_})
        source->value->setVisible(source->list->currentIndex() > columns_);
}

void UncertaintyPanel::setChoice(const UncertaintyChoice& x, const UncertaintyChoice& y,
                                 bool extremeLines)
{
    for (const auto& [source, choice] : {std::pair{&x_, x}, std::pair{&y_, y}}) {
        const QSignalBlocker quiet(source->list);
        int index = 0;
        if (choice.kind == UncertaintyChoice::Kind::Column && choice.column <= columns_)
            index = choice.column;
        else if (choice.kind == UncertaintyChoice::Kind::Fixed)
            index = columns_ + 1;
        else if (choice.kind == UncertaintyChoice::Kind::Percentage)
            index = columns_ + 2;
        source->list->setCurrentIndex(index);
        source->value->setText(index > columns_ ? QString::number(choice.value, 'g', 15)
                                                : QString());
        source->chosenByHand = true;
    }
    const QSignalBlocker quiet(extremeLines_);
    extremeLines_->setChecked(extremeLines);
    showValueFields();
}

UncertaintyChoice UncertaintyPanel::x() const { return choiceOf(x_); }
UncertaintyChoice UncertaintyPanel::y() const { return choiceOf(y_); }
bool UncertaintyPanel::extremeLines() const
{
    return extremeLines_->isEnabled() && extremeLines_->isChecked();
}

void UncertaintyPanel::allowExtremeLines(bool allowed) { extremeLines_->setEnabled(allowed); }
