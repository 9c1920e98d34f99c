#include "data/data_intake.h"

#include "data/data_file.h"
#include "data/delimiters.h"
#include "data/quoted_fields.h"

std::string decimalCommaQuestion(IntakeSource source)
{
    return std::string(source == IntakeSource::File ? "This file writes"
                                                    : "The pasted lines write") +
           " decimals with a comma (0,1). Change them to points (0.1) so that the commands can "
           "read them?";
}

std::string delimiterQuestion(char found, char inForce, IntakeSource source)
{
    if (source == IntakeSource::File)
        return delimiterQuestion(found, inForce);
    return std::string("The pasted lines separate their values with ") +
           delimiterNamed(found).plural + "; the delimiter is the " + delimiterNamed(inForce).name +
           ". Make the " + delimiterNamed(found).name + " the delimiter?";
}

bool asksAboutPaste(std::string_view text) { return nonEmptyLinesOf(text).size() >= 2; }

TakenIn takeIn(std::string_view text, char inForce, IntakeSource source, const IntakeAsker& ask)
{
    TakenIn taken;
    // What the quotes hold decides nothing: "0,5";"1,294" separates with
    // semicolons, and its commas are read once the quotes are gone.
    if (const std::optional<char> found = delimiterOfFile(maskQuotedFields(text), inForce)) {
        const std::string question = delimiterQuestion(*found, inForce, source);
        const std::optional<bool> yes = ask(IntakeQuestion::Delimiter, question);
        if (!yes) {
            taken.unanswered = question;
            return taken;
        }
        if (*yes)
            taken.delimiter = found;
    }
    const UnquotedText unquoted = unquoteFields(text, taken.delimiter.value_or(inForce));
    taken.text = unquoted.text;
    if (const std::string note = unquotedNote(unquoted); !note.empty())
        taken.notes.push_back(note);
    if (writesDecimalComma(taken.text)) {
        const std::string question = decimalCommaQuestion(source);
        const std::optional<bool> yes = ask(IntakeQuestion::DecimalComma, question);
        if (!yes) {
            taken.unanswered = question;
            return taken;
        }
        if (*yes)
            taken.text = decimalCommasToPoints(taken.text);
    }
    return taken;
}
