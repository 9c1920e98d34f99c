#include "app/record_window.h"

#include "app/field_check.h"
#include "app/flow_layout.h"

#include <QAudioDevice>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString phoneItem = QStringLiteral("phone (phyphox)");
// A sound input's item: "microphone: " and the system's name for it.
const QString microphonePrefix = QStringLiteral("microphone: ");
// The sample rates offered for a sound input.
constexpr int soundRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000};
const QString addressSetting = QStringLiteral("record/phone");
constexpr int speeds[] = {9600,   19200,  38400,  57600,  115200,  230400,
                          250000, 460800, 500000, 921600, 1000000, 2000000};

// Vendor, product and serial number: the same board on whatever port.
QString identityOf(const QSerialPortInfo& port)
{
    if (!port.hasVendorIdentifier())
        return {};
    return QStringLiteral("%1:%2:%3")
        .arg(port.vendorIdentifier())
        .arg(port.productIdentifier())
        .arg(port.serialNumber());
}

QLabel* labelFor(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

RecordWindow::RecordWindow(std::function<char()> delimiter, QWidget* parent)
    : QWidget(parent, Qt::Window), delimiter_(std::move(delimiter))
{
    setObjectName(QStringLiteral("RecordWindow"));
    setWindowTitle(QStringLiteral("Bench Tabler - Record"));
    layOutControls();
    refreshPorts();
    sourceChosen();
    resize(760, 200);
    // A board plugged in shows up in the list within a second.
    portWatch_.setInterval(1000);
    connect(&portWatch_, &QTimer::timeout, this, &RecordWindow::refreshPorts);
    portWatch_.start();
    progressTimer_.setInterval(250);
    connect(&progressTimer_, &QTimer::timeout, this, &RecordWindow::showProgress);
}

RecordWindow::~RecordWindow() = default;

void RecordWindow::layOutControls()
{
    source_ = new QComboBox(this);
    source_->setEditable(true); // a device may be typed: "/dev/ttyUSB0", "COM3"
    source_->setInsertPolicy(QComboBox::NoInsert);
    source_->setAccessibleName(QStringLiteral("source"));
    source_->setMinimumContentsLength(24);
    address_ = new QLineEdit(QSettings().value(addressSetting).toString(), this);
    address_->setAccessibleName(QStringLiteral("address"));
    address_->setPlaceholderText(QStringLiteral("192.168.1.23:8080"));
    speed_ = new QComboBox(this);
    speed_->setAccessibleName(QStringLiteral("speed"));
    for (const int speed : speeds)
        speed_->addItem(QString::number(speed), speed);
    speed_->setCurrentText(QStringLiteral("115200"));
    rate_ = new QComboBox(this);
    rate_->setAccessibleName(QStringLiteral("sample rate"));
    for (const int rate : soundRates)
        rate_->addItem(QString::number(rate), rate);
    rate_->setCurrentText(QStringLiteral("44100"));
    hostTime_ = new QCheckBox(QStringLiteral("time from the computer"), this);
    stopAfter_ = new QComboBox(this);
    stopAfter_->setAccessibleName(QStringLiteral("stop after"));
    stopAfter_->addItems(
        {QStringLiteral("never"), QStringLiteral("seconds"), QStringLiteral("lines")});
    stopValue_ = new QLineEdit(this);
    stopValue_->setAccessibleName(QStringLiteral("stop after value"));
    stopValue_->setMaximumWidth(80);
    trigger_ = new QCheckBox(QStringLiteral("start when column"), this);
    triggerColumn_ = new QSpinBox(this);
    triggerColumn_->setAccessibleName(QStringLiteral("trigger column"));
    triggerColumn_->setRange(1, 100);
    triggerLevel_ = new QLineEdit(this);
    triggerLevel_->setAccessibleName(QStringLiteral("trigger level"));
    triggerLevel_->setMaximumWidth(80);
    triggerBefore_ = new QSpinBox(this);
    triggerBefore_->setAccessibleName(QStringLiteral("lines before the trigger"));
    triggerBefore_->setRange(0, 100000);
    heading_ = new QLineEdit(this);
    heading_->setAccessibleName(QStringLiteral("heading"));
    heading_->setPlaceholderText(QStringLiteral("run N, or e.g. L = 0.70 m"));
    heading_->setMinimumWidth(160);
    startStop_ = new QPushButton(QStringLiteral("Start"), this);
    progress_ = new QLabel(this);
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* choices = new FlowLayout;
    choices->addGroup({labelFor(QStringLiteral("&source:"), source_, this), source_});
    addressLabel_ = labelFor(QStringLiteral("&address:"), address_, this);
    speedLabel_ = labelFor(QStringLiteral("s&peed:"), speed_, this);
    choices->addGroup({addressLabel_, address_});
    choices->addGroup({speedLabel_, speed_});
    rateLabel_ = labelFor(QStringLiteral("sample &rate:"), rate_, this);
    choices->addGroup({rateLabel_, rate_});
    choices->addWidget(hostTime_);
    choices->addGroup(
        {labelFor(QStringLiteral("stop a&fter:"), stopAfter_, this), stopAfter_, stopValue_});
    choices->addGroup({trigger_, triggerColumn_, new QLabel(QStringLiteral("rises above"), this),
                       triggerLevel_, new QLabel(QStringLiteral("keeping"), this), triggerBefore_,
                       new QLabel(QStringLiteral("lines before it"), this)});
    choices->addGroup({labelFor(QStringLiteral("&heading:"), heading_, this), heading_});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startStop_);
    buttons->addWidget(progress_, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(choices);
    page->addLayout(buttons);
    page->addWidget(message_);
    page->addStretch();

    connect(source_, &QComboBox::currentIndexChanged, this, &RecordWindow::sourceChosen);
    connect(source_, &QComboBox::editTextChanged, this, &RecordWindow::sourceChosen);
    connect(startStop_, &QPushButton::clicked, this, &RecordWindow::startOrStop);
    // Enter in the source starts (or stops) too: type the device, press Enter.
    connect(source_->lineEdit(), &QLineEdit::returnPressed, this, &RecordWindow::startOrStop);
    connect(new QShortcut(QKeySequence(Qt::Key_Space), this), &QShortcut::activated, this,
            &RecordWindow::startOrStop);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_W), this), &QShortcut::activated, this,
            &QWidget::close);
}

void RecordWindow::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

bool RecordWindow::recording() const { return session_ && session_->recording(); }

RecordChoices RecordWindow::choices() const
{
    RecordChoices choices;
    choices.source = source_->currentText().toStdString();
    choices.baud = speed_->currentData().toInt();
    choices.rate = rate_->currentData().toInt();
    choices.phone = address_->text().toStdString();
    choices.hostTime = hostTime_->isChecked();
    choices.stop = static_cast<RecordChoices::Stop>(stopAfter_->currentIndex());
    choices.stopAfter = numberInField(stopValue_).value_or(0);
    choices.trigger = trigger_->isChecked();
    choices.triggerColumn = triggerColumn_->value();
    choices.triggerLevel = numberInField(triggerLevel_).value_or(0);
    choices.triggerBefore = triggerBefore_->value();
    choices.heading = heading_->text().toStdString();
    return choices;
}

void RecordWindow::setChoices(const RecordChoices& choices)
{
    if (!choices.source.empty())
        source_->setCurrentText(QString::fromStdString(choices.source));
    if (const int speed = speed_->findData(choices.baud); speed >= 0)
        speed_->setCurrentIndex(speed);
    if (const int rate = rate_->findData(choices.rate); rate >= 0)
        rate_->setCurrentIndex(rate);
    address_->setText(QString::fromStdString(choices.phone));
    hostTime_->setChecked(choices.hostTime);
    stopAfter_->setCurrentIndex(static_cast<int>(choices.stop));
    stopValue_->setText(choices.stop == RecordChoices::Stop::Never
                            ? QString()
                            : QString::number(choices.stopAfter, 'g', 15));
    trigger_->setChecked(choices.trigger);
    triggerColumn_->setValue(choices.triggerColumn);
    triggerLevel_->setText(QString::number(choices.triggerLevel, 'g', 15));
    triggerBefore_->setValue(choices.triggerBefore);
    heading_->setText(QString::fromStdString(choices.heading));
    sourceChosen();
}
QString RecordWindow::message() const { return message_->text(); }

// The serial ports found, by description and name; the phone last. The
// choice and anything typed stay.
void RecordWindow::refreshPorts()
{
    QStringList items;
    QList<QVariant> names;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        const QString description =
            port.description().isEmpty() ? port.portName() : port.description();
        items << QStringLiteral("%1 (%2)").arg(description, port.portName());
        names << port.portName();
    }
    items << phoneItem;
    names << QVariant();
    for (const QAudioDevice& input : QMediaDevices::audioInputs()) {
        items << microphonePrefix + input.description();
        names << input.description();
    }
    QStringList shown;
    for (int i = 0; i < source_->count(); ++i)
        shown << source_->itemText(i);
    if (shown == items)
        return;
    const QString typed = source_->currentText();
    const QSignalBlocker quiet(source_);
    source_->clear();
    for (qsizetype i = 0; i < items.size(); ++i)
        source_->addItem(items[i], i < names.size() ? names[i] : QVariant());
    source_->setCurrentText(typed.isEmpty() ? items.front() : typed);
    sourceChosen();
}

void RecordWindow::sourceChosen()
{
    const bool phone = source_->currentText() == phoneItem;
    const bool microphone = source_->currentText().startsWith(microphonePrefix);
    address_->setVisible(phone);
    addressLabel_->setVisible(phone);
    speed_->setVisible(!phone && !microphone);
    speedLabel_->setVisible(!phone && !microphone);
    hostTime_->setVisible(!phone && !microphone);
    rate_->setVisible(microphone);
    rateLabel_->setVisible(microphone);
}

// The port of the source chosen: a listed port's name, else the text typed,
// or, when that port is gone, the port the same board now has.
QString RecordWindow::chosenPort()
{
    const int index = source_->findText(source_->currentText());
    QString port =
        index >= 0 ? source_->itemData(index).toString() : source_->currentText().trimmed();
    bool found = false;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        found = found || info.portName() == port || info.systemLocation() == port;
    if (!found && !boardIdentity_.isEmpty())
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            if (identityOf(info) == boardIdentity_)
                return info.portName();
    return port;
}

std::optional<RecordSettings> RecordWindow::settingsFromFields()
{
    RecordSettings settings;
    settings.lines.delimiter = delimiter_();
    if (source_->currentText() == phoneItem) {
        settings.source = RecordSettings::Source::Phone;
        settings.phone = address_->text().trimmed();
        if (settings.phone.isEmpty()) {
            message_->setText(QStringLiteral("type the address phyphox shows for remote access"));
            return std::nullopt;
        }
        QSettings().setValue(addressSetting, settings.phone);
    } else if (source_->currentText().startsWith(microphonePrefix)) {
        settings.source = RecordSettings::Source::Microphone;
        settings.microphone = source_->currentText().mid(microphonePrefix.size());
        settings.rate = rate_->currentData().toInt();
    } else {
        settings.port = chosenPort();
        settings.baud = speed_->currentData().toInt();
        settings.lines.hostTime = hostTime_->isChecked();
    }
    const CheckedField stop = checkNumberField(
        stopValue_, {QStringLiteral("the field beside \"stop after\""),
                     QStringLiteral("type how many there"), false, stopAfter_->currentIndex() > 0});
    if (stopAfter_->currentIndex() > 0 && !(stop.value && *stop.value > 0)) {
        message_->setText(stop.note.isEmpty() ? QStringLiteral("stop after takes a number above 0")
                                              : stop.note);
        return std::nullopt;
    }
    if (stopAfter_->currentIndex() == 1)
        settings.stopSeconds = *stop.value;
    else if (stopAfter_->currentIndex() == 2)
        settings.stopRows = static_cast<std::size_t>(*stop.value);
    if (trigger_->isChecked()) {
        const CheckedField level =
            checkNumberField(triggerLevel_, {QStringLiteral("the trigger's level"),
                                             QStringLiteral("type it"), false, true});
        if (!level.value) {
            message_->setText(level.note);
            return std::nullopt;
        }
        settings.lines.trigger =
            RecordTrigger{triggerColumn_->value(), *level.value, triggerBefore_->value()};
    }
    return settings;
}

void RecordWindow::startOrStop()
{
    if (recording())
        session_->stop();
    else
        start();
}

void RecordWindow::start()
{
    std::optional<RecordSettings> settings = settingsFromFields();
    if (!settings)
        return;
    message_->clear();
    if (settings->source == RecordSettings::Source::Serial)
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
            if (info.portName() == settings->port)
                boardIdentity_ = identityOf(info);
    session_ = std::make_unique<RecordingSession>(*settings);
    connect(session_.get(), &RecordingSession::headerReady, this, &RecordWindow::headerReady);
    connect(session_.get(), &RecordingSession::rowsArrived, this, &RecordWindow::rowsArrived);
    connect(session_.get(), &RecordingSession::failedToStart, this, [this](const QString& why) {
        message_->setText(why);
        // Not while the session is still in its own start.
        session_.release()->deleteLater();
        startStop_->setText(QStringLiteral("Start"));
        progressTimer_.stop();
        progress_->clear();
        emit recordingEnded();
    });
    connect(session_.get(), &RecordingSession::finished, this, &RecordWindow::ended);
    emit recordingStarted();
    startStop_->setText(QStringLiteral("Stop"));
    clock_.start();
    progressTimer_.start();
    session_->start();
    showProgress();
}

void RecordWindow::ended(const QString& message)
{
    progressTimer_.stop();
    showProgress();
    QStringList said;
    if (!message.isEmpty())
        said << message;
    if (const std::string unread = session_->unreadMessage(); !unread.empty())
        said << QString::fromStdString(unread);
    if (!session_->header())
        said << QStringLiteral("no line was received");
    message_->setText(said.join(QLatin1Char('\n')));
    startStop_->setText(QStringLiteral("Start"));
    emit recordingEnded();
}

// "1250 lines, 1998 lines a second".
void RecordWindow::showProgress()
{
    if (!session_)
        return;
    const double seconds = static_cast<double>(clock_.elapsed()) / 1000;
    const auto rows = static_cast<double>(session_->rows());
    progress_->setText(QStringLiteral("%1 lines, %2 lines a second")
                           .arg(session_->rows())
                           .arg(seconds > 0 ? qRound(rows / seconds) : 0));
}
