#include "app/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace app {

namespace {
constexpr char kEncoding[] = "GB18030";
}

QString ToQString(std::string_view text) {
    QStringDecoder decoder(kEncoding);
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

gcode::Text ToText(QStringView text) {
    QStringEncoder encoder(kEncoding);
    const QByteArray bytes = encoder.encode(text);
    return gcode::Text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString ToBoxText(std::string_view text) {
    QString box = ToQString(text);
    // CR LF becomes one line break, in place.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < box.size(); ++i) {
        if (box[i] == u'\r' && i + 1 < box.size() && box[i + 1] == u'\n') continue;
        box[kept++] = box[i];
    }
    box.truncate(kept);
    return box;
}

gcode::Text FromBoxText(QStringView boxText) {
    // The document separates paragraphs (and lines broken with Shift+Enter) with the Unicode
    // separators; each becomes CR LF.
    const auto isBreak = [](QChar c) {
        return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
    };
    QString lines;
    lines.reserve(boxText.size() + std::count_if(boxText.begin(), boxText.end(), isBreak));
    for (const QChar c : boxText) {
        if (isBreak(c)) {
            lines.append(u'\r');
            lines.append(u'\n');
        } else {
            lines.append(c);
        }
    }
    return ToText(lines);
}

}  // namespace app
