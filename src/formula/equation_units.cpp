// The unit an equation gives from the units of its names: muParser's
// bytecode (the reverse Polish form it evaluates) run once more with units
// for values, each operation applying its rule (units multiply and divide,
// only alike ones add, a power needs a number for its exponent).

#include "formula/language.h"
#include "formula/parsed_equation.h"

#include <cstring>

namespace {

bool applyBinary(mu::ECmdCode code, std::vector<Unit>& stack)
{
    if (stack.size() < 2)
        return false;
    const Unit b = stack.back();
    stack.pop_back();
    Unit& a = stack.back();
    switch (code) {
    case mu::cmADD:
    case mu::cmSUB:
        a = a.plus(b);
        return true;
    case mu::cmMUL:
        a = a.times(b);
        return true;
    case mu::cmDIV:
        a = a.over(b);
        return true;
    case mu::cmPOW:
        a = a.power(b);
        return true;
    default:
        return false;
    }
}

bool applyFunction(const mu::SToken& token, std::vector<Unit>& stack)
{
    if (token.Fun.argc != 1 || stack.empty())
        return false;
    const auto raw = token.Fun.cb._pRawFun;
    if (raw == reinterpret_cast<mu::erased_fun_type>(negative) ||
        raw == reinterpret_cast<mu::erased_fun_type>(positive))
        return true;
    for (const LanguageFunction& function : languageFunctions()) {
        if (raw != reinterpret_cast<mu::erased_fun_type>(function.value))
            continue;
        Unit& x = stack.back();
        if (std::strcmp(function.name, "sqrt") == 0)
            x = x.power(Unit::constant(0.5));
        else if (std::strcmp(function.name, "abs") != 0)
            x = x.ofPureFunction();
        return true;
    }
    return false;
}

// A name read directly, or to the 2nd, 3rd or 4th power, or times a
// constant plus a constant: muParser's fused operations on one variable.
bool pushVariable(const mu::SToken& token, std::vector<Unit>& stack,
                  const std::deque<double>& slots, const std::vector<Unit>& units)
{
    std::size_t k = 0;
    while (k < slots.size() && &slots[k] != token.Val.ptr)
        ++k;
    if (k == slots.size() || k >= units.size())
        return false;
    const Unit& x = units[k];
    switch (token.Cmd) {
    case mu::cmVAR:
    case mu::cmVARMUL: // x c + d: a constant factor, a constant added
        stack.push_back(x);
        return true;
    case mu::cmVARPOW2:
        stack.push_back(x.power(Unit::constant(2)));
        return true;
    case mu::cmVARPOW3:
        stack.push_back(x.power(Unit::constant(3)));
        return true;
    case mu::cmVARPOW4:
        stack.push_back(x.power(Unit::constant(4)));
        return true;
    default:
        return false;
    }
}

} // namespace

Unit Equation::unitOf(const std::vector<Unit>& units) const
{
    const Parsed& parsed = *parsed_;
    const mu::ParserByteCode& code = parsed.parser.GetByteCode();
    std::vector<Unit> stack;
    const mu::SToken* token = code.GetBase();
    for (std::size_t i = 0; i < code.GetSize() && token[i].Cmd != mu::cmEND; ++i) {
        bool known = false;
        switch (token[i].Cmd) {
        case mu::cmVAL:
            stack.push_back(Unit::constant(token[i].Val.data2));
            known = true;
            break;
        case mu::cmVAR:
        case mu::cmVARPOW2:
        case mu::cmVARPOW3:
        case mu::cmVARPOW4:
        case mu::cmVARMUL:
            known = pushVariable(token[i], stack, parsed.slots, units);
            break;
        case mu::cmFUNC:
            known = applyFunction(token[i], stack);
            break;
        default:
            known = applyBinary(token[i].Cmd, stack);
        }
        if (!known)
            return Unit::unknown();
    }
    return stack.size() == 1 ? stack.back() : Unit::unknown();
}
