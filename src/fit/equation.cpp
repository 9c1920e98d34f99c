#include "fit/equation.h"

#include <muParser.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <numbers>

namespace {

constexpr std::size_t longestEquation = 1000;
constexpr std::size_t fewestBufferedPoints = 512;

double plus(double a, double b) { return a + b; }
double minus(double a, double b) { return a - b; }
double times(double a, double b) { return a * b; }
double dividedBy(double a, double b) { return a / b; }
double power(double a, double b) { return std::pow(a, b); }

double sine(double a) { return std::sin(a); }
double cosine(double a) { return std::cos(a); }
double tangent(double a) { return std::tan(a); }
double arcSine(double a) { return std::asin(a); }
double arcCosine(double a) { return std::acos(a); }
double arcTangent(double a) { return std::atan(a); }
double hyperbolicSine(double a) { return std::sinh(a); }
double hyperbolicCosine(double a) { return std::cosh(a); }
double hyperbolicTangent(double a) { return std::tanh(a); }
double exponential(double a) { return std::exp(a); }
double naturalLog(double a) { return std::log(a); }
double commonLog(double a) { return std::log10(a); }
double squareRoot(double a) { return std::sqrt(a); }
double absolute(double a) { return std::fabs(a); }

bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

bool isEquationCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("_.+-*/^() \t").find(c) != std::string_view::npos;
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

} // namespace

struct Equation::Parsed {
    std::string text;
    mu::Parser parser;
    std::vector<std::string> names;
    std::deque<double> placeholders; // a variable's storage while reading
    std::vector<std::vector<double>> buffers;
    std::size_t capacity = 0;

    static double* newVariable(const char* name, void* self)
    {
        auto* parsed = static_cast<Parsed*>(self);
        parsed->names.emplace_back(name);
        parsed->placeholders.push_back(0);
        return &parsed->placeholders.back();
    }

    void defineLanguage()
    {
        parser.EnableBuiltInOprt(false);
        parser.DefineOprt("+", plus, mu::prADD_SUB, mu::oaLEFT, true);
        parser.DefineOprt("-", minus, mu::prADD_SUB, mu::oaLEFT, true);
        parser.DefineOprt("*", times, mu::prMUL_DIV, mu::oaLEFT, true);
        parser.DefineOprt("/", dividedBy, mu::prMUL_DIV, mu::oaLEFT, true);
        parser.DefineOprt("^", power, mu::prPOW, mu::oaRIGHT, true);
        parser.DefineOprt("**", power, mu::prPOW, mu::oaRIGHT, true);
        parser.ClearFun();
        const std::pair<const char*, double (*)(double)> functions[] = {{"sin", sine},
                                                                        {"cos", cosine},
                                                                        {"tan", tangent},
                                                                        {"asin", arcSine},
                                                                        {"acos", arcCosine},
                                                                        {"atan", arcTangent},
                                                                        {"sinh", hyperbolicSine},
                                                                        {"cosh", hyperbolicCosine},
                                                                        {"tanh", hyperbolicTangent},
                                                                        {"exp", exponential},
                                                                        {"ln", naturalLog},
                                                                        {"log10", commonLog},
                                                                        {"sqrt", squareRoot},
                                                                        {"abs", absolute}};
        for (const auto& [name, function] : functions)
            parser.DefineFun(name, function, true);
        parser.ClearConst();
        parser.DefineConst("pi", std::numbers::pi);
        parser.SetVarFactory(newVariable, this);
    }

    // Binds every name to a buffer of at least `count` values; muParser reads
    // value i of each variable for point i.
    void reserve(std::size_t count)
    {
        if (count <= capacity)
            return;
        capacity = std::max(count, std::max(fewestBufferedPoints, 2 * capacity));
        buffers.resize(names.size());
        for (std::size_t k = 0; k < names.size(); ++k) {
            buffers[k].resize(capacity);
            parser.DefineVar(names[k], buffers[k].data());
        }
    }
};

Equation::Equation(std::unique_ptr<Parsed> parsed) : parsed_(std::move(parsed)) {}
Equation::Equation(Equation&&) noexcept = default;
Equation& Equation::operator=(Equation&&) noexcept = default;
Equation::~Equation() = default;

std::variant<Equation, EquationError> Equation::read(std::string_view text)
{
    if (text.size() > longestEquation)
        return EquationError{characterNumber(text, longestEquation),
                             "an equation has at most 1000 characters"};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!isEquationCharacter(text[i]))
            return EquationError{characterNumber(text, i),
                                 std::string(1, '"').append(characterAt(text, i)) +
                                     "\" cannot stand in an equation"};
    if (text.find_first_not_of(" \t") == std::string_view::npos)
        return EquationError{1, "there is no equation"};

    auto parsed = std::make_unique<Parsed>();
    parsed->text = std::string(text);
    parsed->defineLanguage();
    try {
        parsed->parser.SetExpr(parsed->text);
        parsed->parser.Eval(); // reads the text and meets every name
    } catch (const mu::ParserError& error) {
        const auto position = static_cast<std::size_t>(std::max(0, error.GetPos()));
        return EquationError{characterNumber(text, position), reasonOf(error)};
    }
    for (const std::string& name : parsed->names)
        if (!isNameStart(name.front()))
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

void Equation::evaluate(std::size_t count, double* results)
{
    if (count == 0)
        return;
    parsed_->reserve(count);
    try {
        parsed_->parser.Eval(results, static_cast<int>(count));
    } catch (const mu::ParserError&) {
        std::fill(results, results + count, std::nan(""));
    }
}
