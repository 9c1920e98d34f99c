// The derivatives of an equation by its names, by forward-mode automatic
// differentiation: muParser's bytecode (the reverse Polish form it evaluates)
// is run once more with every value carrying its derivatives, each operation
// applying its rule of differentiation. Exact up to rounding, where
// difference quotients lose half the digits or more.

#include "formula/language.h"
#include "formula/parsed_equation.h"

#include <cmath>
#include <limits>

namespace {

constexpr double noNumber = std::numeric_limits<double>::quiet_NaN();

// A stack of values, each with its derivatives by the equation's names.
class DualStack {
public:
    explicit DualStack(std::size_t names) : names_(names) {}

    double* push(double value)
    {
        values_.push_back(value);
        slopes_.resize(slopes_.size() + names_, 0.0);
        return top();
    }
    void pop()
    {
        values_.pop_back();
        slopes_.resize(slopes_.size() - names_);
    }
    std::size_t size() const { return values_.size(); }
    double& value(std::size_t fromTop = 0) { return values_[values_.size() - 1 - fromTop]; }
    double* slopes(std::size_t fromTop = 0)
    {
        return slopes_.data() + (values_.size() - 1 - fromTop) * names_;
    }
    double* top() { return slopes(); }

private:
    std::size_t names_;
    std::vector<double> values_;
    std::vector<double> slopes_;
};

// a ∘ b for the binary operators: the result replaces a, b is popped.
bool applyBinary(mu::ECmdCode code, DualStack& stack, std::size_t names)
{
    if (stack.size() < 2)
        return false;
    const double a = stack.value(1), b = stack.value(0);
    double* da = stack.slopes(1);
    const double* db = stack.slopes(0);
    double result = noNumber;
    switch (code) {
    case mu::cmADD:
        result = a + b;
        for (std::size_t k = 0; k < names; ++k)
            da[k] += db[k];
        break;
    case mu::cmSUB:
        result = a - b;
        for (std::size_t k = 0; k < names; ++k)
            da[k] -= db[k];
        break;
    case mu::cmMUL:
        result = a * b;
        for (std::size_t k = 0; k < names; ++k)
            da[k] = da[k] * b + a * db[k];
        break;
    case mu::cmDIV:
        result = a / b;
        for (std::size_t k = 0; k < names; ++k)
            da[k] = (da[k] - result * db[k]) / b;
        break;
    case mu::cmPOW:
        result = std::pow(a, b);
        // Each term only where its variable moves: a constant exponent of a
        // negative base has no logarithm to take.
        for (std::size_t k = 0; k < names; ++k)
            da[k] = (da[k] != 0 ? b * std::pow(a, b - 1) * da[k] : 0) +
                    (db[k] != 0 ? result * std::log(a) * db[k] : 0);
        break;
    default:
        return false;
    }
    stack.pop();
    stack.value() = result;
    return true;
}

// f(x) on the top of the stack, for the language's functions and signs.
bool applyFunction(const mu::SToken& token, DualStack& stack, std::size_t names)
{
    if (token.Fun.argc != 1 || stack.size() < 1)
        return false;
    const auto raw = token.Fun.cb._pRawFun;
    double& x = stack.value();
    double* dx = stack.slopes();
    if (raw == reinterpret_cast<mu::erased_fun_type>(negative)) {
        x = -x;
        for (std::size_t k = 0; k < names; ++k)
            dx[k] = -dx[k];
        return true;
    }
    if (raw == reinterpret_cast<mu::erased_fun_type>(positive))
        return true;
    for (const LanguageFunction& function : languageFunctions()) {
        if (raw != reinterpret_cast<mu::erased_fun_type>(function.value))
            continue;
        const double slope = function.derivative(x);
        x = function.value(x);
        for (std::size_t k = 0; k < names; ++k)
            dx[k] = dx[k] != 0 ? slope * dx[k] : 0;
        return true;
    }
    return false;
}

// The slot (name) muParser reads at this address.
std::size_t slotAt(const std::deque<double>& slots, const double* address)
{
    for (std::size_t k = 0; k < slots.size(); ++k)
        if (&slots[k] == address)
            return k;
    return slots.size();
}

// A name read directly, squared, cubed or raised to the fourth, or times a
// constant plus a constant: muParser's fused operations on one variable.
bool pushVariable(const mu::SToken& token, DualStack& stack, const std::deque<double>& slots)
{
    const std::size_t k = slotAt(slots, token.Val.ptr);
    if (k == slots.size())
        return false;
    const double x = *token.Val.ptr;
    double value = x, slope = 1;
    switch (token.Cmd) {
    case mu::cmVAR:
        break;
    case mu::cmVARPOW2:
        value = x * x;
        slope = 2 * x;
        break;
    case mu::cmVARPOW3:
        value = x * x * x;
        slope = 3 * x * x;
        break;
    case mu::cmVARPOW4:
        value = x * x * x * x;
        slope = 4 * x * x * x;
        break;
    case mu::cmVARMUL:
        value = x * token.Val.data + token.Val.data2;
        slope = token.Val.data;
        break;
    default:
        return false;
    }
    stack.push(value)[k] = slope;
    return true;
}

} // namespace

double Equation::valueAndGradient(const double* values, double* gradient)
{
    Parsed& parsed = *parsed_;
    const std::size_t names = parsed.names.size();
    for (std::size_t k = 0; k < names; ++k) {
        parsed.slots[k] = values[k];
        gradient[k] = noNumber;
    }
    const mu::ParserByteCode& code = parsed.parser.GetByteCode();
    DualStack stack(names);
    const mu::SToken* token = code.GetBase();
    for (std::size_t i = 0; i < code.GetSize() && token[i].Cmd != mu::cmEND; ++i) {
        bool known = false;
        switch (token[i].Cmd) {
        case mu::cmVAL:
            stack.push(token[i].Val.data2);
            known = true;
            break;
        case mu::cmVAR:
        case mu::cmVARPOW2:
        case mu::cmVARPOW3:
        case mu::cmVARPOW4:
        case mu::cmVARMUL:
            known = pushVariable(token[i], stack, parsed.slots);
            break;
        case mu::cmFUNC:
            known = applyFunction(token[i], stack, names);
            break;
        default:
            known = applyBinary(token[i].Cmd, stack, names);
        }
        if (!known) // no rule for it: the value alone
            return evaluateAt(values);
    }
    if (stack.size() != 1)
        return evaluateAt(values);
    for (std::size_t k = 0; k < names; ++k)
        gradient[k] = stack.slopes()[k];
    return stack.value();
}
