#include "app/box_text.h"

#include <string_view>

// Both conversions copy the text in runs between line breaks: a box of a
// thousand lines passes through here on every command.

std::string toCoreText(const QString& widgetText)
{
    QString paragraphs = widgetText;
    paragraphs.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QByteArray utf8 = paragraphs.toUtf8();
    const std::string_view lines(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    std::string text;
    text.reserve(lines.size() + lines.size() / 8);
    std::size_t start = 0;
    for (std::size_t lf = lines.find('\n'); lf != std::string_view::npos;
         start = lf + 1, lf = lines.find('\n', start)) {
        text.append(lines, start, lf - start);
        text += "\r\n";
    }
    text.append(lines, start);
    return text;
}

QString toWidgetText(const std::string& coreText)
{
    std::string lines;
    lines.reserve(coreText.size());
    std::size_t start = 0;
    for (std::size_t cr = coreText.find('\r'); cr != std::string::npos;
         start = cr + 1, cr = coreText.find('\r', start)) {
        lines.append(coreText, start, cr - start);
        if (cr + 1 >= coreText.size() || coreText[cr + 1] != '\n')
            lines += '\n'; // a lone CR ends a line too; the LF of a CR LF follows by itself
    }
    lines.append(coreText, start);
    return QString::fromStdString(lines);
}
