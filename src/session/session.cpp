#include "session/session.h"

#include "json/json_value.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr std::string_view magic = "Bench Tabler session ";

const std::pair<ModelKind, const char*> modelNames[] = {
    {ModelKind::None, "none"},
    {ModelKind::Line, "line"},
    {ModelKind::Proportional, "proportional"},
    {ModelKind::Quadratic, "quadratic"},
    {ModelKind::Polynomial, "polynomial"},
    {ModelKind::Exponential, "exponential"},
    {ModelKind::ExponentialWithOffset, "exponential-offset"},
    {ModelKind::Power, "power"},
    {ModelKind::Logarithm, "logarithm"},
    {ModelKind::Sine, "sine"},
    {ModelKind::Gaussian, "gaussian"},
    {ModelKind::OwnEquation, "equation"},
};

const std::pair<UncertaintyChoice::Kind, const char*> uncertaintyNames[] = {
    {UncertaintyChoice::Kind::None, "none"},
    {UncertaintyChoice::Kind::Column, "column"},
    {UncertaintyChoice::Kind::Fixed, "fixed"},
    {UncertaintyChoice::Kind::Percentage, "percentage"},
};

const std::pair<BinChoice::Rule, const char*> binNames[] = {
    {BinChoice::Rule::Automatic, "automatic"},
    {BinChoice::Rule::Sturges, "sturges"},
    {BinChoice::Rule::Width, "width"},
};

const std::pair<RecordChoices::Stop, const char*> stopNames[] = {
    {RecordChoices::Stop::Never, "never"},
    {RecordChoices::Stop::Seconds, "seconds"},
    {RecordChoices::Stop::Lines, "lines"},
};

template <typename Kind, std::size_t N>
const char* nameOf(const std::pair<Kind, const char*> (&names)[N], Kind kind)
{
    for (const auto& [known, name] : names)
        if (known == kind)
            return name;
    return names[0].second;
}

template <typename Kind, std::size_t N>
Kind kindNamed(const std::pair<Kind, const char*> (&names)[N], const std::string& name)
{
    for (const auto& [kind, known] : names)
        if (name == known)
            return kind;
    return names[0].first;
}

JsonValue optionalNumber(const std::optional<double>& value)
{
    return value ? JsonValue::of(*value) : JsonValue::null();
}

std::optional<double> optionalNumberOf(const JsonValue& object, std::string_view name)
{
    const JsonValue* value = object.member(name);
    return value && value->isNumber() ? std::optional<double>(value->number) : std::nullopt;
}

int wholeOr(const JsonValue& object, std::string_view name, int fallback)
{
    const double value = object.numberOr(name, fallback);
    return value >= -1e6 && value <= 1e6 ? static_cast<int>(value) : fallback;
}

const JsonValue& objectOr(const JsonValue* value)
{
    static const JsonValue empty = JsonValue::object();
    return value && value->isObject() ? *value : empty;
}

JsonValue uncertaintyJson(const UncertaintyChoice& choice)
{
    JsonValue json = JsonValue::object();
    json.set("kind", JsonValue::of(nameOf(uncertaintyNames, choice.kind)));
    json.set("column", JsonValue::of(choice.column));
    json.set("value", JsonValue::of(choice.value));
    return json;
}

UncertaintyChoice uncertaintyOf(const JsonValue& json)
{
    UncertaintyChoice choice;
    choice.kind = kindNamed(uncertaintyNames, json.stringOr("kind", "none"));
    choice.column = std::max(0, wholeOr(json, "column", 0));
    choice.value = json.numberOr("value", 0);
    return choice;
}

JsonValue modelJson(const ModelChoice& model)
{
    JsonValue json = JsonValue::object();
    json.set("kind", JsonValue::of(nameOf(modelNames, model.kind)));
    json.set("degree", JsonValue::of(model.degree));
    json.set("equation", JsonValue::of(model.equation));
    JsonValue starts = JsonValue::object();
    for (const auto& [name, value] : model.starts)
        starts.set(name, JsonValue::of(value));
    json.set("starts", starts);
    return json;
}

ModelChoice modelOf(const JsonValue& json)
{
    ModelChoice model;
    model.kind = kindNamed(modelNames, json.stringOr("kind", "none"));
    model.degree = std::clamp(wholeOr(json, "degree", lowestDegree), lowestDegree, highestDegree);
    model.equation = json.stringOr("equation", "");
    for (const auto& [name, value] : objectOr(json.member("starts")).members)
        if (value.isNumber())
            model.starts[name] = value.number;
    return model;
}

JsonValue choiceJson(const GraphChoice& choice)
{
    JsonValue json = JsonValue::object();
    json.set("x", JsonValue::of(choice.xColumn));
    json.set("y", JsonValue::of(choice.yColumn));
    json.set("all runs", JsonValue::of(choice.allRuns));
    json.set("histogram", JsonValue::of(choice.histogram));
    json.set("spectrum", JsonValue::of(choice.spectrum));
    json.set("window", JsonValue::of(windowName(choice.window)));
    json.set("start axes at zero", JsonValue::of(choice.fromZero));
    json.set("log x", JsonValue::of(choice.logX));
    json.set("log y", JsonValue::of(choice.logY));
    json.set("join points",
             choice.joinPoints ? JsonValue::of(*choice.joinPoints) : JsonValue::null());
    json.set("title", JsonValue::of(choice.title));
    json.set("fit", modelJson(choice.model));
    json.set("fit from", optionalNumber(choice.fitFrom));
    json.set("fit to", optionalNumber(choice.fitTo));
    json.set("residuals", JsonValue::of(choice.residuals));
    json.set("x uncertainty", uncertaintyJson(choice.xUncertainty));
    json.set("y uncertainty", uncertaintyJson(choice.yUncertainty));
    json.set("steepest and shallowest lines", JsonValue::of(choice.extremeLines));
    json.set("results", JsonValue::of(choice.results));
    JsonValue bins = JsonValue::object();
    bins.set("rule", JsonValue::of(nameOf(binNames, choice.bins.rule)));
    bins.set("width", JsonValue::of(choice.bins.width));
    json.set("bins", bins);
    json.set("normal curve", JsonValue::of(choice.normalCurve));
    json.set("area", JsonValue::of(choice.area));
    json.set("tangent at", optionalNumber(choice.tangentAt));
    json.set("tangent rows", JsonValue::of(choice.tangentRows));
    return json;
}

GraphChoice choiceOf(const JsonValue& json)
{
    GraphChoice choice;
    choice.xColumn = std::clamp(wholeOr(json, "x", 0), 0, mostPlottedColumns);
    choice.yColumn = std::clamp(wholeOr(json, "y", 1), 1, mostPlottedColumns);
    choice.allRuns = json.booleanOr("all runs", false);
    choice.histogram = json.booleanOr("histogram", false);
    choice.spectrum = !choice.histogram && json.booleanOr("spectrum", false);
    choice.window = windowNamed(json.stringOr("window", "")).value_or(SpectrumWindow::Hann);
    choice.fromZero = json.booleanOr("start axes at zero", false);
    choice.logX = json.booleanOr("log x", false);
    choice.logY = json.booleanOr("log y", false);
    if (const JsonValue* join = json.member("join points"); join && join->isBoolean())
        choice.joinPoints = join->boolean;
    choice.title = json.stringOr("title", "");
    choice.model = modelOf(objectOr(json.member("fit")));
    choice.fitFrom = optionalNumberOf(json, "fit from");
    choice.fitTo = optionalNumberOf(json, "fit to");
    choice.residuals = json.booleanOr("residuals", false);
    choice.xUncertainty = uncertaintyOf(objectOr(json.member("x uncertainty")));
    choice.yUncertainty = uncertaintyOf(objectOr(json.member("y uncertainty")));
    choice.extremeLines = json.booleanOr("steepest and shallowest lines", false);
    choice.results = json.stringOr("results", "");
    const JsonValue& bins = objectOr(json.member("bins"));
    choice.bins.rule = kindNamed(binNames, bins.stringOr("rule", "automatic"));
    choice.bins.width = bins.numberOr("width", 0);
    choice.normalCurve = json.booleanOr("normal curve", true);
    choice.area = json.booleanOr("area", false);
    choice.tangentAt = optionalNumberOf(json, "tangent at");
    choice.tangentRows =
        std::clamp(wholeOr(json, "tangent rows", defaultTangentRows), fewestTangentRows, mostTangentRows);
    return choice;
}

JsonValue graphJson(const GraphSession& graph)
{
    JsonValue json = JsonValue::object();
    json.set("open", JsonValue::of(graph.open));
    json.set("block", JsonValue::of(static_cast<double>(graph.block)));
    JsonValue blocks = JsonValue::array();
    for (const BlockChoice& block : graph.blocks) {
        JsonValue entry = JsonValue::object();
        entry.set("block", JsonValue::of(static_cast<double>(block.block)));
        entry.set("name", JsonValue::of(block.name));
        entry.set("choices", choiceJson(block.choice));
        blocks.add(entry);
    }
    json.set("blocks", blocks);
    return json;
}

std::size_t indexOr(const JsonValue& json, std::string_view name)
{
    const double value = json.numberOr(name, 0);
    return value >= 0 && value < 1e9 ? static_cast<std::size_t>(value) : 0;
}

GraphSession graphOf(const JsonValue& json)
{
    GraphSession graph;
    graph.open = json.booleanOr("open", false);
    graph.block = indexOr(json, "block");
    if (const JsonValue* blocks = json.member("blocks"); blocks && blocks->isArray())
        for (const JsonValue& entry : blocks->items)
            if (entry.isObject())
                graph.blocks.push_back({indexOr(entry, "block"), entry.stringOr("name", ""),
                                        choiceOf(objectOr(entry.member("choices")))});
    return graph;
}

JsonValue recordJson(const RecordChoices& record)
{
    JsonValue json = JsonValue::object();
    json.set("source", JsonValue::of(record.source));
    json.set("speed", JsonValue::of(record.baud));
    json.set("sample rate", JsonValue::of(record.rate));
    json.set("phone", JsonValue::of(record.phone));
    json.set("time from the computer", JsonValue::of(record.hostTime));
    json.set("stop", JsonValue::of(nameOf(stopNames, record.stop)));
    json.set("stop after", JsonValue::of(record.stopAfter));
    json.set("trigger", JsonValue::of(record.trigger));
    json.set("trigger column", JsonValue::of(record.triggerColumn));
    json.set("trigger level", JsonValue::of(record.triggerLevel));
    json.set("lines before", JsonValue::of(record.triggerBefore));
    json.set("heading", JsonValue::of(record.heading));
    return json;
}

RecordChoices recordOf(const JsonValue& json)
{
    RecordChoices record;
    record.source = json.stringOr("source", "");
    record.baud = std::max(1, wholeOr(json, "speed", 115200));
    record.rate = std::clamp(wholeOr(json, "sample rate", 44100), 8000, 48000);
    record.phone = json.stringOr("phone", "");
    record.hostTime = json.booleanOr("time from the computer", false);
    record.stop = kindNamed(stopNames, json.stringOr("stop", "never"));
    record.stopAfter = json.numberOr("stop after", 10);
    record.trigger = json.booleanOr("trigger", false);
    record.triggerColumn = std::max(1, wholeOr(json, "trigger column", 1));
    record.triggerLevel = json.numberOr("trigger level", 0);
    record.triggerBefore = std::max(0, wholeOr(json, "lines before", 0));
    record.heading = json.stringOr("heading", "");
    return record;
}

// A framing line "NAME N": N, and where the line ends; nothing otherwise.
std::optional<std::size_t> framedLength(std::string_view bytes, std::size_t& at,
                                        std::string_view name)
{
    const std::size_t end = bytes.find('\n', at);
    if (end == bytes.npos)
        return std::nullopt;
    const std::string_view line = bytes.substr(at, end - at);
    if (line.substr(0, name.size() + 1) != std::string(name) + " ")
        return std::nullopt;
    std::size_t length = 0;
    const std::string_view digits = line.substr(name.size() + 1);
    const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    if (digits.empty() || read.ec != std::errc() || read.ptr != digits.data() + digits.size())
        return std::nullopt;
    at = end + 1;
    return length;
}

SessionRead refused(const std::string& fileName, const std::string& why)
{
    return {std::nullopt, "could not open " + fileName + ": " + why};
}

} // namespace

bool looksLikeSession(std::string_view bytes) { return bytes.substr(0, magic.size()) == magic; }

std::string writeSession(const Session& session)
{
    JsonValue choices = JsonValue::object();
    choices.set("delimiter", JsonValue::of(std::string(1, session.delimiter)));
    choices.set("data file", JsonValue::of(session.dataFile));
    choices.set("name", JsonValue::of(session.studentName));
    choices.set("template", JsonValue::of(session.isTemplate));
    choices.set("graph", graphJson(session.graph));
    choices.set("record", recordJson(session.record));
    const std::string json = writeJson(choices);
    std::string file;
    file.reserve(session.box.size() + json.size() + 64);
    file.append(magic).append(std::to_string(sessionVersion)).append(1, '\n');
    file.append("choices ").append(std::to_string(json.size())).append(1, '\n').append(json);
    file.append("\nbox ").append(std::to_string(session.box.size())).append(1, '\n');
    file.append(session.box);
    return file;
}

SessionRead readSession(std::string_view bytes, const std::string& fileName)
{
    if (!looksLikeSession(bytes))
        return refused(fileName, "it is not a Bench Tabler session");
    const std::size_t firstEnd = bytes.find('\n');
    const std::string_view version = bytes.substr(magic.size(), firstEnd - magic.size());
    int number = 0;
    const auto read = std::from_chars(version.data(), version.data() + version.size(), number);
    if (firstEnd == bytes.npos || read.ec != std::errc() ||
        read.ptr != version.data() + version.size())
        return refused(fileName, "it is not a Bench Tabler session");
    if (number > sessionVersion)
        return refused(fileName, "it is a session of version " + std::to_string(number) +
                                     ", newer than this program reads (" +
                                     std::to_string(sessionVersion) +
                                     "); open it with a newer Bench Tabler");
    std::size_t at = firstEnd + 1;
    const std::optional<std::size_t> choicesLength = framedLength(bytes, at, "choices");
    if (!choicesLength || bytes.size() - at < *choicesLength)
        return refused(fileName, "the session is cut short or damaged");
    const std::optional<JsonValue> choices = parseJson(bytes.substr(at, *choicesLength));
    if (!choices || !choices->isObject())
        return refused(fileName, "its choices cannot be read");
    at += *choicesLength;
    if (bytes.substr(at, 1) != "\n")
        return refused(fileName, "the session is cut short or damaged");
    ++at;
    const std::optional<std::size_t> boxLength = framedLength(bytes, at, "box");
    if (!boxLength || bytes.size() - at != *boxLength)
        return refused(fileName, "the session is cut short or damaged");
    Session session;
    session.box = std::string(bytes.substr(at));
    const std::string delimiter = choices->stringOr("delimiter", ",");
    session.delimiter = delimiter.size() == 1 && std::string_view(",\t; ").find(delimiter[0]) !=
                                                     std::string_view::npos
                            ? delimiter[0]
                            : ',';
    session.dataFile = choices->stringOr("data file", "");
    session.studentName = choices->stringOr("name", "");
    session.isTemplate = choices->booleanOr("template", false);
    session.graph = graphOf(objectOr(choices->member("graph")));
    session.record = recordOf(objectOr(choices->member("record")));
    return {std::move(session), {}};
}
