#include "formula/units.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int sixths = 6;
// Powers beyond the hundredth are no unit a lab writes: unknown.
constexpr int largestPower = 100 * sixths;

// The superscript digits and minus of "s²", "s⁻¹".
const std::pair<std::string_view, char> superscripts[] = {
    {"⁰", '0'}, {"¹", '1'}, {"²", '2'}, {"³", '3'}, {"⁴", '4'}, {"⁵", '5'},
    {"⁶", '6'}, {"⁷", '7'}, {"⁸", '8'}, {"⁹", '9'}, {"⁻", '-'},
};

// The text with superscripts written as "^-1", "^2"; "·" and "*" as a blank.
std::string plainPowers(std::string_view text)
{
    std::string plain;
    bool inPower = false;
    for (std::size_t i = 0; i < text.size();) {
        bool matched = false;
        for (const auto& [superscript, digit] : superscripts)
            if (text.substr(i, superscript.size()) == superscript) {
                if (!inPower)
                    plain += '^';
                plain += digit;
                inPower = true;
                i += superscript.size();
                matched = true;
                break;
            }
        if (matched)
            continue;
        inPower = false;
        if (text.substr(i, 2) == "·") {
            plain += ' ';
            i += 2;
            continue;
        }
        plain += text[i] == '*' ? ' ' : text[i];
        ++i;
    }
    return plain;
}

// A recursive reading of "m/s^2", "N/(m/s)", "kg m^2": products of powers of
// symbols and parenthesised units, "/" dividing by the next factor.
class UnitReader {
public:
    explicit UnitReader(std::string_view text) : text_(text) {}

    std::optional<Unit> whole()
    {
        std::optional<Unit> unit = product();
        skipBlanks();
        if (!unit || at_ != text_.size())
            return std::nullopt;
        return unit;
    }

private:
    void skipBlanks()
    {
        while (at_ < text_.size() && text_[at_] == ' ')
            ++at_;
    }

    std::optional<Unit> product()
    {
        std::optional<Unit> unit = powered();
        while (unit) {
            skipBlanks();
            if (at_ == text_.size() || text_[at_] == ')')
                return unit;
            const bool dividing = text_[at_] == '/';
            if (dividing)
                ++at_;
            const std::optional<Unit> next = powered();
            if (!next)
                return std::nullopt;
            unit = dividing ? unit->over(*next) : unit->times(*next);
        }
        return unit;
    }

    std::optional<Unit> powered()
    {
        std::optional<Unit> base = single();
        skipBlanks();
        if (!base || at_ == text_.size() || text_[at_] != '^')
            return base;
        ++at_;
        skipBlanks();
        const std::size_t start = at_;
        if (at_ < text_.size() && (text_[at_] == '-' || text_[at_] == '+'))
            ++at_;
        while (at_ < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[at_])) || text_[at_] == '.'))
            ++at_;
        std::string_view exponent = text_.substr(start, at_ - start);
        if (!exponent.empty() && exponent.front() == '+')
            exponent.remove_prefix(1);
        double value = 0;
        const auto read =
            std::from_chars(exponent.data(), exponent.data() + exponent.size(), value);
        if (exponent.empty() || read.ec != std::errc() ||
            read.ptr != exponent.data() + exponent.size())
            return std::nullopt;
        return base->power(Unit::constant(value));
    }

    std::optional<Unit> single()
    {
        skipBlanks();
        if (at_ == text_.size())
            return std::nullopt;
        if (text_[at_] == '(') {
            ++at_;
            std::optional<Unit> inside = product();
            skipBlanks();
            if (!inside || at_ == text_.size() || text_[at_] != ')')
                return std::nullopt;
            ++at_;
            return inside;
        }
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               std::string_view(" /^()").find(text_[at_]) == std::string_view::npos)
            ++at_;
        const std::string_view symbol = text_.substr(start, at_ - start);
        if (symbol == "1")
            return Unit::number();
        if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol.front())) ||
            symbol.front() == '.' || symbol.front() == '-')
            return std::nullopt;
        return Unit::read(symbol);
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

bool isSymbol(std::string_view text)
{
    return !text.empty() && text.find_first_of(" /^()*") == std::string_view::npos &&
           !std::isdigit(static_cast<unsigned char>(text.front())) && text.front() != '.' &&
           text.front() != '-' && text.find("·") == std::string_view::npos;
}

// "s", "s^2", "s^-1": a symbol to a power in sixths, whole.
std::string symbolPower(const std::string& symbol, int power)
{
    const int whole = power / sixths;
    std::string text = symbol;
    if (whole != 1)
        text.append(1, '^').append(std::to_string(whole));
    return text;
}

} // namespace

Unit Unit::number() { return Unit(Kind::Known, {}); }
Unit Unit::unknown() { return Unit(Kind::Unknown, {}); }
Unit Unit::constant(double value) { return Unit(Kind::Constant, {}, value); }

Unit Unit::read(std::string_view text)
{
    const std::string plain = plainPowers(text);
    std::string_view trimmed = plain;
    while (!trimmed.empty() && trimmed.front() == ' ')
        trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.remove_suffix(1);
    if (isSymbol(trimmed))
        return Unit(Kind::Known, {{std::string(trimmed), sixths}});
    if (trimmed.empty())
        return unknown();
    return UnitReader(trimmed).whole().value_or(unknown());
}

Unit Unit::multiplied(const Unit& a, const Unit& b, int sign)
{
    if (!a.known() || !b.known())
        return unknown();
    if (a.kind_ == Kind::Constant && b.kind_ == Kind::Constant)
        return constant(sign > 0 ? a.value_.value_or(1) * b.value_.value_or(1)
                                 : a.value_.value_or(1) / b.value_.value_or(1));
    Factors factors = a.factors_;
    for (const auto& factor : b.factors_) {
        const auto same = std::find_if(factors.begin(), factors.end(),
                                       [&](const auto& mine) { return mine.first == factor.first; });
        if (same == factors.end())
            factors.emplace_back(factor.first, sign * factor.second);
        else if (std::abs(same->second + sign * factor.second) > largestPower)
            return unknown(); // each power is at most largestPower: the sum cannot overflow
        else
            same->second += sign * factor.second;
    }
    std::erase_if(factors, [](const auto& factor) { return factor.second == 0; });
    return Unit(Kind::Known, std::move(factors));
}

Unit Unit::times(const Unit& other) const { return multiplied(*this, other, 1); }
Unit Unit::over(const Unit& other) const { return multiplied(*this, other, -1); }

Unit Unit::plus(const Unit& other) const
{
    if (!known() || !other.known())
        return unknown();
    if (kind_ == Kind::Constant)
        return other.kind_ == Kind::Constant
                   ? constant(value_.value_or(0) + other.value_.value_or(0))
                   : other;
    if (other.kind_ == Kind::Constant)
        return *this;
    Factors mine = factors_, theirs = other.factors_;
    std::sort(mine.begin(), mine.end());
    std::sort(theirs.begin(), theirs.end());
    return mine == theirs ? *this : unknown();
}

Unit Unit::power(const Unit& exponent) const
{
    if (!known() || !exponent.known())
        return unknown();
    if (kind_ == Kind::Constant && exponent.kind_ == Kind::Constant)
        return constant(std::pow(value_.value_or(1), exponent.value_.value_or(1)));
    if (pure() || kind_ == Kind::Constant)
        return exponent.pure() || exponent.kind_ == Kind::Constant ? number() : unknown();
    if (exponent.kind_ != Kind::Constant || !exponent.value_)
        return unknown();
    Factors factors = factors_;
    for (auto& [symbol, power] : factors) {
        const double raised = power * *exponent.value_;
        if (!(std::fabs(raised) <= largestPower) || std::fabs(raised - std::round(raised)) > 1e-9)
            return unknown();
        power = static_cast<int>(std::lround(raised));
    }
    std::erase_if(factors, [](const auto& factor) { return factor.second == 0; });
    return Unit(Kind::Known, std::move(factors));
}

Unit Unit::ofPureFunction() const
{
    if (!known())
        return unknown();
    const bool pureArgument = std::all_of(factors_.begin(), factors_.end(),
                                          [](const auto& factor) { return factor.first == "rad"; });
    return pureArgument ? number() : unknown();
}

std::string Unit::text() const
{
    if (kind_ != Kind::Known)
        return {};
    std::vector<std::string> above, below;
    for (const auto& [symbol, power] : factors_) {
        if (power % sixths != 0)
            return {};
        (power > 0 ? above : below).push_back(symbolPower(symbol, std::abs(power)));
    }
    const auto joined = [](const std::vector<std::string>& parts) {
        std::string text;
        for (const std::string& part : parts)
            text.append(text.empty() ? "" : " ").append(part);
        return text;
    };
    if (below.empty())
        return joined(above);
    std::string text = above.empty() ? std::string("1") : joined(above);
    text.append(1, '/');
    if (below.size() == 1)
        return text.append(below.front());
    return text.append(1, '(').append(joined(below)).append(1, ')');
}
