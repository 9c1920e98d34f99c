#include "app/field_check.h"

#include "data/typed_number.h"

#include <QLineEdit>

namespace {

const QString wrongFrame = QStringLiteral("QLineEdit { border: 2px solid #d00000; }");

void mark(QLineEdit* field, const QString& reason)
{
    field->setStyleSheet(reason.isEmpty() ? QString() : wrongFrame);
    field->setToolTip(reason);
    field->setAccessibleDescription(reason);
}

} // namespace

std::optional<double> numberInField(const QLineEdit* field, bool percentage)
{
    return readTypedNumber(field->text().toStdString(), percentage).value;
}

CheckedField checkNumberField(QLineEdit* field, const FieldRules& rules)
{
    const TypedNumber typed = readTypedNumber(field->text().toStdString(), rules.percentage);
    CheckedField checked{typed.value, {}};
    if (!typed.reason.empty())
        checked.note =
            QStringLiteral("%1 holds no number (%2); %3")
                .arg(rules.name, QString::fromStdString(typed.reason), rules.consequence);
    else if (typed.empty && rules.mustBeFilled)
        checked.note = QStringLiteral("%1 is empty; %2").arg(rules.name, rules.consequence);
    mark(field, checked.note);
    return checked;
}
