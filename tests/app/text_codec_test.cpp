#include "app/text_codec.h"

#include <QtTest>

using app::FromBoxText;
using app::ToBoxText;
using app::ToQString;
using app::ToText;

class TextCodecTest : public QObject {
    Q_OBJECT

  private slots:
    void encodesAsTheChineseCodePage() {
        QCOMPARE(ToText(u"请填全信息！"),
                 gcode::Text("\xC7\xEB\xCC\xEE\xC8\xAB\xD0\xC5\xCF\xA2\xA3\xA1"));
        QCOMPARE(ToText(u"G代码"), gcode::Text("G\xB4\xFA\xC2\xEB"));
        // Outside code page 936: kept as a four-byte sequence, not turned into "?".
        QCOMPARE(ToText(u"\U0001F600"), gcode::Text("\x94\x39\xFC\x36"));
        QCOMPARE(ToQString("\x94\x39\xFC\x36"), QString::fromUtf8("\U0001F600"));
        QCOMPARE(ToQString(ToText(u"毫米 ½ €")), QString::fromUtf8("毫米 ½ €"));
    }

    void boxTextsUseCrLfInTheProgramAndParagraphsInTheBox() {
        QCOMPARE(ToBoxText("O2017\r\nG00\r\n\r\n%"), QStringLiteral("O2017\nG00\n\n%"));
        QCOMPARE(FromBoxText(u"A\u2029B\u2028C\nD"), gcode::Text("A\r\nB\r\nC\r\nD"));
        QCOMPARE(FromBoxText(u""), gcode::Text());
        const gcode::Text program = "O2017\r\nG00 X0 Y0\r\n\r\nM30\r\n%";
        QString box = ToBoxText(program);
        box.replace(u'\n', QChar::ParagraphSeparator);  // how the document holds it
        QCOMPARE(FromBoxText(box), program);
    }
};

QTEST_MAIN(TextCodecTest)
#include "text_codec_test.moc"
