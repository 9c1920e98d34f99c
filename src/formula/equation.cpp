#include "formula/equation.h"

#include "formula/language.h"
#include "formula/parsed_equation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <numbers>
#include <optional>

namespace {

constexpr std::size_t longestEquation = 1000;
constexpr std::size_t fewestBufferedPoints = 512;

// A Greek letter (Α to Ω, α to ω) as its two UTF-8 bytes: names may hold
// them (θ, λ, ω), and π is the constant pi.
bool isGreekLetter(std::string_view text, std::size_t byte)
{
    if (byte + 1 >= text.size())
        return false;
    const auto lead = static_cast<unsigned char>(text[byte]);
    const auto next = static_cast<unsigned char>(text[byte + 1]);
    return (lead == 0xCE && ((next >= 0x91 && next <= 0xA9 && next != 0xA2) || next >= 0xB1)) ||
           (lead == 0xCF && next >= 0x80 && next <= 0x89);
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool isNameStart(std::string_view text, std::size_t byte)
{
    return isAsciiLetter(text[byte]) || isGreekLetter(text, byte);
}

bool isNameByte(char c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isAsciiEquationCharacter(char c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9') ||
           std::string_view("_.+-*/^() \t").find(c) != std::string_view::npos;
}

// The byte where the first character that cannot stand in an equation
// begins, or npos.
std::size_t firstForeignCharacter(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isGreekLetter(text, i))
            ++i;
        else if (!isAsciiEquationCharacter(text[i]))
            return i;
    }
    return std::string_view::npos;
}

// The characters muParser takes into names: ASCII letters, digits and _, and
// the bytes of the Greek letters (firstForeignCharacter lets no other
// character of those bytes through).
std::string nameCharacters()
{
    std::string characters =
        "0123456789_abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ\xCE\xCF";
    for (int byte = 0x80; byte <= 0xBF; ++byte)
        characters += static_cast<char>(byte);
    return characters;
}

// Characters, not bytes, up to a byte offset: a UTF-8 character counts once.
int characterNumber(std::string_view text, std::size_t byte)
{
    int count = 1;
    for (std::size_t i = 0; i < std::min(byte, text.size()); ++i)
        count += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    return count;
}

// The whole UTF-8 character that starts at a byte.
std::string_view characterAt(std::string_view text, std::size_t byte)
{
    std::size_t end = byte + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return text.substr(byte, end - byte);
}

// muParser's message without its own position ("... at position 4."), as
// a clause: 'unexpected token "<1 " found'.
std::string reasonOf(const mu::ParserError& error)
{
    std::string message = error.GetMsg();
    const auto at = message.find(" at position");
    if (at != std::string::npos)
        message.erase(at);
    while (!message.empty() && (message.back() == '.' || message.back() == ' '))
        message.pop_back();
    if (!message.empty())
        message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
    return message;
}

// A name followed by "(" that is not one of the functions: the reason says
// which functions there are, rather than muParser's "unexpected parenthesis".
std::optional<std::string> notAFunction(std::string_view text, std::size_t position)
{
    if (position >= text.size() || text[position] != '(')
        return std::nullopt;
    std::size_t start = position;
    while (start > 0 && isNameByte(text[start - 1]))
        --start;
    if (start == position || !isNameStart(text, start))
        return std::nullopt;
    std::string reason(1, '"');
    reason.append(text.substr(start, position - start));
    return reason.append("\" is not a function; the functions are sin cos tan asin acos atan sinh "
                         "cosh tanh exp ln log10 sqrt abs");
}

} // namespace

bool isVariableName(std::string_view text)
{
    if (text.empty() || !isNameStart(text, 0))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isGreekLetter(text, i))
            ++i;
        else if (!isAsciiLetter(text[i]) && !(text[i] >= '0' && text[i] <= '9') && text[i] != '_')
            return false;
    }
    for (const LanguageFunction& function : languageFunctions())
        if (text == function.name)
            return false;
    return text != "pi" && text != "π";
}

void Equation::Parsed::defineLanguage()
{
    parser.ClearFun();
    for (const LanguageFunction& function : languageFunctions())
        parser.DefineFun(function.name, function.value, true);
    parser.ClearInfixOprt();
    parser.DefineInfixOprt("-", negative);
    parser.DefineInfixOprt("+", positive);
    parser.DefineNameChars(nameCharacters().c_str());
    parser.ClearConst();
    parser.DefineConst("pi", std::numbers::pi);
    parser.DefineConst("\u03C0", std::numbers::pi); // π
    parser.SetVarFactory(newVariable, this);
}

double* Equation::Parsed::newVariable(const char* name, void* self)
{
    auto* parsed = static_cast<Parsed*>(self);
    parsed->names.emplace_back(name);
    parsed->slots.push_back(0);
    return &parsed->slots.back();
}

void Equation::Parsed::reserve(std::size_t count)
{
    buffers.resize(names.size());
    for (std::vector<double>& buffer : buffers)
        if (buffer.size() < count)
            buffer.resize(std::max(count, fewestBufferedPoints));
}

Equation::Equation(std::unique_ptr<Parsed> parsed) : parsed_(std::move(parsed)) {}
Equation::Equation(Equation&&) noexcept = default;
Equation& Equation::operator=(Equation&&) noexcept = default;
Equation::~Equation() = default;

std::variant<Equation, EquationError> Equation::read(std::string_view text)
{
    if (text.size() > longestEquation)
        return EquationError{characterNumber(text, longestEquation),
                             "an equation has at most 1000 characters"};
    if (const std::size_t i = firstForeignCharacter(text); i != std::string_view::npos)
        return EquationError{characterNumber(text, i),
                             std::string(1, '"').append(characterAt(text, i)) +
                                 "\" cannot stand in an equation"};
    if (text.find_first_not_of(" \t") == std::string_view::npos)
        return EquationError{1, "there is no equation"};

    auto parsed = std::make_unique<Parsed>();
    parsed->text = std::string(text);
    parsed->defineLanguage();
    // ** is ^; "^ " keeps every later character where it was, for the
    // places errors name.
    std::string muParserText = parsed->text;
    for (auto at = muParserText.find("**"); at != std::string::npos;
         at = muParserText.find("**", at))
        muParserText.replace(at, 2, "^ ");
    try {
        parsed->parser.SetExpr(muParserText);
        parsed->parser.Eval(); // reads the text and meets every name
    } catch (const mu::ParserError& error) {
        const auto position = static_cast<std::size_t>(std::max(0, error.GetPos()));
        return EquationError{characterNumber(text, position),
                             notAFunction(text, position).value_or(reasonOf(error))};
    }
    for (const std::string& name : parsed->names)
        if (!isNameStart(name, 0))
            return EquationError{characterNumber(text, text.find(name)),
                                 "a name begins with a letter"};
    return Equation(std::move(parsed));
}

const std::string& Equation::text() const { return parsed_->text; }

const std::vector<std::string>& Equation::names() const { return parsed_->names; }

double* Equation::values(std::size_t name, std::size_t count)
{
    parsed_->reserve(count);
    return parsed_->buffers[name].data();
}

double Equation::evaluateAt(const double* values)
{
    Parsed& parsed = *parsed_;
    for (std::size_t k = 0; k < parsed.names.size(); ++k)
        parsed.slots[k] = values[k];
    try {
        return parsed.parser.Eval();
    } catch (const mu::ParserError&) {
        return std::nan("");
    }
}

void Equation::evaluate(std::size_t count, double* results)
{
    if (count == 0)
        return;
    Parsed& parsed = *parsed_;
    parsed.reserve(count);
    try {
        for (std::size_t i = 0; i < count; ++i) {
            for (std::size_t k = 0; k < parsed.buffers.size(); ++k)
                parsed.slots[k] = parsed.buffers[k][i];
            results[i] = parsed.parser.Eval();
        }
    } catch (const mu::ParserError&) {
        std::fill(results, results + count, std::nan(""));
    }
}
