#pragma once

// Reads a data set of the NIST Statistical Reference Datasets in NIST's own
// layout: the model line, the starting values, the certified parameters and
// standard deviations, the residual sum of squares and the data.

#include "fit/point.h"

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

struct CertifiedParameter {
    std::string name;
    std::vector<double> starts; // none for the linear sets
    double value = 0;
    double standardDeviation = 0;
};

struct NistDataset {
    std::string model; // the right-hand side, in the program's equation language
    std::vector<CertifiedParameter> parameters;
    double residualSumOfSquares = 0;
    std::vector<Point> points;
};

inline std::vector<double> numbersIn(const std::string& text)
{
    std::vector<double> numbers;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        numbers.push_back(std::stod(word));
    return numbers;
}

inline NistDataset readNistDataset(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    NistDataset set;
    const std::regex nonlinearParameter(R"(^\s*(b\d+)\s*=\s*(.*)$)");
    const std::regex linearParameter(R"(^\s*(B\d+)\s+(\S+\s+\S+)\s*$)");
    const std::regex residualLine(R"(^Residual\s+\d+\s+(\S+))");
    std::size_t dataStart = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::smatch match;
        if (set.model.empty() &&
            std::regex_search(line, match, std::regex(R"(^\s*y\s*=\s*(.*))"))) {
            std::string model = match[1];
            for (std::size_t j = i + 1;
                 model.find("+  e") == std::string::npos && j < lines.size() && !lines[j].empty();
                 ++j)
                model += " " + lines[j];
            model = model.substr(0, model.find("+  e"));
            model = model.substr(0, model.find("+ e"));
            for (char& c : model)
                c = c == '[' ? '(' : c == ']' ? ')' : c;
            set.model = model;
        } else if (std::regex_match(line, match, nonlinearParameter)) {
            const std::vector<double> numbers = numbersIn(match[2]);
            set.parameters.push_back({match[1], {numbers[0], numbers[1]}, numbers[2], numbers[3]});
        } else if (std::regex_match(line, match, linearParameter)) {
            const std::vector<double> numbers = numbersIn(match[2]);
            set.parameters.push_back({match[1], {}, numbers[0], numbers[1]});
        } else if (line.rfind("Residual Sum of Squares:", 0) == 0) {
            set.residualSumOfSquares = numbersIn(line.substr(line.find(':') + 1))[0];
        } else if (std::regex_search(line, match, residualLine)) {
            set.residualSumOfSquares = std::stod(match[1]);
        } else if (line.rfind("Data:", 0) == 0) {
            dataStart = i + 1;
        }
    }
    for (std::size_t i = dataStart; i < lines.size(); ++i) {
        const std::vector<double> numbers = numbersIn(lines[i]);
        if (numbers.size() == 2)
            set.points.push_back({numbers[1], numbers[0]});
    }
    return set;
}
