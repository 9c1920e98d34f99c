#include "batch/batch_record.h"

#include "data/number_reading.h"
#include "record/recording_session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <variant>

namespace {

std::atomic<bool> stopAsked{false};

extern "C" void askToStop(int) { stopAsked = true; }

std::optional<double> positive(const std::string& text)
{
    const std::optional<double> value = readAnswer(text);
    return value && *value > 0 ? value : std::nullopt;
}

// "K:V", column K from 1 and the level V.
std::optional<RecordTrigger> triggerOf(const std::string& text)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    const std::optional<double> column = readAnswer(text.substr(0, colon));
    const std::optional<double> level = readAnswer(text.substr(colon + 1));
    if (!column || !level || *column < 1 || *column != static_cast<int>(*column))
        return std::nullopt;
    return RecordTrigger{static_cast<int>(*column), *level, 0};
}

// One option with its value into the settings; the explanation when wrong.
std::optional<std::string> readOption(RecordSettings& settings, const std::string& option,
                                      const std::string& value)
{
    if (option == "--port") {
        settings.source = RecordSettings::Source::Serial;
        settings.port = QString::fromStdString(value);
    } else if (option == "--phyphox") {
        settings.source = RecordSettings::Source::Phone;
        settings.phone = QString::fromStdString(value);
    } else if (option == "--set") {
        settings.exportSet = QString::fromStdString(value);
    } else if (option == "--baud") {
        const std::optional<double> baud = positive(value);
        if (!baud || *baud != static_cast<int>(*baud))
            return "--baud takes a whole number, not \"" + value + "\"";
        settings.baud = static_cast<int>(*baud);
    } else if (option == "--rate") {
        const std::optional<double> rate = positive(value);
        if (!rate || *rate != static_cast<int>(*rate) || *rate < 8000 || *rate > 48000)
            return "--rate takes samples a second from 8000 to 48000, not \"" + value + "\"";
        settings.rate = static_cast<int>(*rate);
    } else if (option == "--lines") {
        const std::optional<double> lines = positive(value);
        if (!lines || *lines != static_cast<std::size_t>(*lines))
            return "--lines takes a whole number, not \"" + value + "\"";
        settings.stopRows = static_cast<std::size_t>(*lines);
    } else if (option == "--seconds") {
        settings.stopSeconds = positive(value);
        if (!settings.stopSeconds)
            return "--seconds takes a number of seconds, not \"" + value + "\"";
    } else if (option == "--trigger") {
        const int before = settings.lines.trigger ? settings.lines.trigger->before : 0;
        settings.lines.trigger = triggerOf(value);
        if (!settings.lines.trigger)
            return "--trigger takes COLUMN:LEVEL, not \"" + value + "\"";
        settings.lines.trigger->before = before;
    } else { // --before
        const std::optional<double> before = readAnswer(value);
        if (!before || *before < 0 || *before != static_cast<int>(*before))
            return "--before takes a whole number, not \"" + value + "\"";
        if (!settings.lines.trigger)
            settings.lines.trigger = RecordTrigger{1, 0, 0};
        settings.lines.trigger->before = static_cast<int>(*before);
    }
    return std::nullopt;
}

std::variant<RecordSettings, std::string>
parseRecordArguments(const std::vector<std::string>& arguments)
{
    static const std::vector<std::string> valued = {"--port",    "--phyphox", "--set",
                                                    "--baud",    "--lines",   "--seconds",
                                                    "--trigger", "--before",  "--delimiter",
                                                    "--rate"};
    RecordSettings settings;
    bool sawTrigger = false, sawBefore = false, sawRate = false, sawAudio = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "record")
            continue;
        if (argument == "--host-time") {
            settings.lines.hostTime = true;
            continue;
        }
        if (argument == "--audio") { // a sound input, its name optional
            sawAudio = true;
            if (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0)
                settings.microphone = QString::fromStdString(arguments[++i]);
            continue;
        }
        if (std::find(valued.begin(), valued.end(), argument) == valued.end())
            return "unknown option \"" + argument + "\" for record";
        if (i + 1 == arguments.size())
            return argument + " needs a value";
        const std::string& value = arguments[++i];
        if (argument == "--delimiter") {
            const std::optional<char> delimiter = delimiterNamed(value);
            if (!delimiter)
                return "unknown delimiter \"" + value + "\"";
            settings.lines.delimiter = *delimiter;
            continue;
        }
        sawTrigger = sawTrigger || argument == "--trigger";
        sawBefore = sawBefore || argument == "--before";
        sawRate = sawRate || argument == "--rate";
        if (auto explanation = readOption(settings, argument, value))
            return *explanation;
    }
    const bool audio = sawAudio;
    if (audio)
        settings.source = RecordSettings::Source::Microphone;
    if (static_cast<int>(!settings.port.isEmpty()) + !settings.phone.isEmpty() + audio != 1)
        return std::string(
            "record needs --port DEVICE, --phyphox HOST:PORT or --audio [DEVICE], one of them");
    if (sawRate && !audio)
        return std::string("--rate is for --audio");
    if (settings.stopRows.has_value() == settings.stopSeconds.has_value())
        return std::string("record needs --lines N or --seconds S, one of them");
    if (sawBefore && !sawTrigger)
        return std::string("--before is for --trigger");
    return settings;
}

} // namespace

BatchResult runRecord(const std::vector<std::string>& arguments)
{
    const auto parsed = parseRecordArguments(arguments);
    if (const auto* explanation = std::get_if<std::string>(&parsed))
        return usageFailure(*explanation);
    RecordingSession session(std::get<RecordSettings>(parsed));
    BatchResult result;
    std::string box;
    QEventLoop loop;
    QObject::connect(&session, &RecordingSession::headerReady,
                     [&box](const QString& header) { box = header.toStdString(); });
    QObject::connect(&session, &RecordingSession::rowsArrived, [&box](const QStringList& rows) {
        for (const QString& row : rows)
            box.append("\r\n").append(row.toStdString());
    });
    QObject::connect(&session, &RecordingSession::failedToStart, [&](const QString& message) {
        result = usageFailure(message.toStdString());
        loop.quit();
    });
    QObject::connect(&session, &RecordingSession::finished, [&](const QString& message) {
        if (!message.isEmpty())
            result.err += "message: " + message.toStdString() + "\n";
        loop.quit();
    });
    // SIGINT and SIGTERM end the recording as Stop does.
    stopAsked = false;
    const auto previousInterrupt = std::signal(SIGINT, askToStop);
    const auto previousTerminate = std::signal(SIGTERM, askToStop);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&session] {
        if (stopAsked)
            session.stop();
    });
    watch.start(50);
    QTimer::singleShot(0, &session, &RecordingSession::start);
    loop.exec();
    std::signal(SIGINT, previousInterrupt);
    std::signal(SIGTERM, previousTerminate);
    if (result.exitStatus == usageError)
        return result;
    if (const std::string unread = session.unreadMessage(); !unread.empty())
        result.err.insert(0, "message: " + unread + "\n");
    if (!session.header())
        result.err += "message: no line was received\n";
    result.out = box + "\r\n";
    return result;
}
