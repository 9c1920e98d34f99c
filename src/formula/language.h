#pragma once

#include <span>

// The functions of the formula language, each with its derivative, for
// muParser to call and for the derivatives to follow.
struct LanguageFunction {
    const char* name;
    double (*value)(double);
    double (*derivative)(double);
};

std::span<const LanguageFunction> languageFunctions();

// The signs before a value: -x and +x.
double negative(double x);
double positive(double x);
