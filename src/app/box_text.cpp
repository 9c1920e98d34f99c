#include "app/box_text.h"

std::string toCoreText(const QString& widgetText)
{
    QString paragraphs = widgetText;
    paragraphs.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QByteArray utf8 = paragraphs.toUtf8();
    std::string text;
    text.reserve(static_cast<std::size_t>(utf8.size()) + static_cast<std::size_t>(utf8.size()) / 8);
    for (const char c : utf8) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

QString toWidgetText(const std::string& coreText)
{
    std::string lines;
    lines.reserve(coreText.size());
    for (std::size_t i = 0; i < coreText.size(); ++i) {
        if (coreText[i] != '\r')
            lines += coreText[i];
        else if (i + 1 >= coreText.size() || coreText[i + 1] != '\n')
            lines += '\n'; // a lone CR ends a line too
    }
    return QString::fromStdString(lines);
}
