#include "data/field_problems.h"

#include "data/fields.h"

namespace {

constexpr std::size_t longestQuotedField = 40;

std::string quotedField(std::string_view field)
{
    field = withoutBlanks(field);
    std::string quoted(1, '"');
    quoted.append(field.substr(0, longestQuotedField));
    if (field.size() > longestQuotedField)
        quoted.append("...");
    return quoted.append(1, '"');
}

} // namespace

void FieldProblems::addMalformed(int line, std::string_view field)
{
    if (malformed_++ > 0)
        return;
    firstMalformedLine_ = line;
    firstMalformedField_ = quotedField(field);
}

void FieldProblems::addWiderRow(int line, int fields, int named)
{
    addWiderRows(1, line, fields, named);
}

void FieldProblems::addWiderRows(int rows, int line, int fields, int named)
{
    if (rows <= 0)
        return;
    if (wider_ == 0) {
        firstWiderLine_ = line;
        firstWiderFields_ = fields;
        named_ = named;
    }
    wider_ += rows;
}

std::vector<std::string> FieldProblems::sentences() const
{
    std::vector<std::string> sentences;
    const std::string malformedWhere =
        "line " + std::to_string(firstMalformedLine_) + ": " + firstMalformedField_;
    if (malformed_ == 1)
        sentences.push_back(malformedWhere + " is not a number");
    else if (malformed_ > 1)
        sentences.push_back(std::to_string(malformed_) +
                            " fields are not numbers; the first is in " + malformedWhere);
    const std::string named = std::to_string(named_);
    const std::string widerWhere = "line " + std::to_string(firstWiderLine_) + " has " +
                                   std::to_string(firstWiderFields_) + " fields where its header names " +
                                   named;
    if (wider_ == 1)
        sentences.push_back(widerWhere + "; it is left out");
    else if (wider_ > 1)
        sentences.push_back(std::to_string(wider_) +
                            " rows have more fields than their header names and are left out; the "
                            "first: " +
                            widerWhere);
    return sentences;
}
