#include "app/kai_font.h"

namespace app {

QFont KaiFont() {
    // Registering the same substitution again changes nothing.
    QFont::insertSubstitution(QStringLiteral("楷体"), QStringLiteral("AR PL UKai CN"));
    QFont font(QStringLiteral("楷体"));
    font.setPixelSize(21);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace app
