#include "app/qt_text_decoder.h"

#include <QStringDecoder>

namespace {

// A sequence cut off at the end of the file is an error, not a state kept
// for more bytes to come.
constexpr auto stateless = QStringConverter::Flag::Stateless;

QStringDecoder decoderFor(SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Utf8:
        return QStringDecoder(QStringConverter::Utf8, stateless);
    case SourceEncoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, stateless);
    case SourceEncoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, stateless);
    case SourceEncoding::Windows1252:
        break;
    }
    QStringDecoder windows1252("windows-1252", stateless);
    return windows1252.isValid() ? std::move(windows1252)
                                 : QStringDecoder(QStringConverter::Latin1);
}

} // namespace

std::optional<std::string> qtTextDecode(std::string_view bytes, SourceEncoding encoding)
{
    QStringDecoder decoder = decoderFor(encoding);
    const QString text =
        decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        return std::nullopt;
    return text.toStdString();
}
