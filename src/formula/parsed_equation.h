#pragma once

// What an Equation holds: muParser's parser and where it reads each name's
// value. Only the files of src/formula/ include this (and with it muParser).

#include "formula/equation.h"

#include <muParser.h>

#include <deque>
#include <string>
#include <vector>

// Each variable is bound once, as it is met while reading, to a slot of its
// own; a point is evaluated by setting the slots and running muParser's
// bytecode. (muParser's bulk mode spreads points over OpenMP threads, which
// costs more than it gains for the thousand points of a lab.)
struct Equation::Parsed {
    std::string text;
    mu::Parser parser;
    std::vector<std::string> names;
    std::deque<double> slots; // where muParser reads each variable's value
    std::vector<std::vector<double>> buffers;

    static double* newVariable(const char* name, void* self);

    // muParser's own + - * / ^ (its other operators are made of characters
    // the equation language refuses before muParser sees them), the signs,
    // the functions, and pi.
    void defineLanguage();

    void reserve(std::size_t count);
};
