#pragma once

#include <QString>

#include <optional>

class QLineEdit;

// A number field of the graph window read with the program's number reading
// (a point or a decimal comma; "2%" where a percentage is asked): its value,
// and, when it holds text that is no number, a red frame and the note that
// names it, "the field "to" holds no number ("4OO" is not a number); ...".
// An empty field holds no number without a mark, unless it must be filled.
struct CheckedField {
    std::optional<double> value;
    QString note; // empty when the field is right
};

struct FieldRules {
    QString name;        // how the note names the field: the field "to"
    QString consequence; // what the window does instead: "the fit goes on to the last point"
    bool percentage = false;
    bool mustBeFilled = false;
};

CheckedField checkNumberField(QLineEdit* field, const FieldRules& rules);

// The number a field holds, without marking it.
std::optional<double> numberInField(const QLineEdit* field, bool percentage = false);
