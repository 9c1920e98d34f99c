#pragma once

// Reads a data set of the NIST Statistical Reference Datasets in NIST's own
// layout: the model line, the starting values, the certified parameters and
// standard deviations, the residual sum of squares and the data.

#include "fit/point.h"

#include <fstream>
#include <cctype>
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

// The words of a line, split at blanks.
inline std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

inline bool isNumber(const std::string& word)
{
    std::size_t used = 0;
    try {
        std::stod(word, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == word.size();
}

// "b1 = 25 0.25 1.92E-01 1.14E-02" (nonlinear: two starts, value, deviation)
// or "B1 2.07 1.65E-02" (linear: value, deviation).
inline bool readParameter(const std::vector<std::string>& words, NistDataset& set)
{
    if (words.empty() || words[0].size() < 2 || (words[0][0] != 'b' && words[0][0] != 'B') ||
        !std::isdigit(static_cast<unsigned char>(words[0][1])))
        return false;
    if (words.size() == 6 && words[1] == "=" && isNumber(words[2]) && isNumber(words[5])) {
        set.parameters.push_back({words[0], {std::stod(words[2]), std::stod(words[3])},
                                  std::stod(words[4]), std::stod(words[5])});
        return true;
    }
    if (words.size() == 3 && words[0][0] == 'B' && isNumber(words[1]) && isNumber(words[2])) {
        set.parameters.push_back({words[0], {}, std::stod(words[1]), std::stod(words[2])});
        return true;
    }
    return false;
}

inline NistDataset readNistDataset(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line.substr(0, line.find('\r')));
    NistDataset set;
    std::size_t dataStart = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::vector<std::string> words = wordsOf(line);
        if (set.model.empty() && words.size() > 2 && words[0] == "y" && words[1] == "=") {
            std::string model = line.substr(line.find('=') + 1);
            for (std::size_t j = i + 1; model.find("+  e") == std::string::npos &&
                                        j < lines.size() && !lines[j].empty();
                 ++j)
                model += " " + lines[j];
            model = model.substr(0, model.find("+  e"));
            for (char& c : model)
                c = c == '[' ? '(' : c == ']' ? ')' : c;
            set.model = model;
        } else if (readParameter(words, set)) {
        } else if (line.rfind("Residual Sum of Squares:", 0) == 0) {
            set.residualSumOfSquares = std::stod(words.back());
        } else if (words.size() >= 3 && words[0] == "Residual" && isNumber(words[1]) &&
                   isNumber(words[2])) {
            set.residualSumOfSquares = std::stod(words[2]); // the linear sets' analysis of variance
        } else if (line.rfind("Data:", 0) == 0) {
            dataStart = i + 1;
        }
    }
    for (std::size_t i = dataStart; i < lines.size(); ++i) {
        const std::vector<std::string> words = wordsOf(lines[i]);
        if (words.size() == 2 && isNumber(words[0]) && isNumber(words[1]))
            set.points.push_back({std::stod(words[1]), std::stod(words[0])});
    }
    return set;
}
