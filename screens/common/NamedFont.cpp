#include "NamedFont.h"

#include "StandInFonts.h"

namespace tonovka {

namespace {

// The stand-in of a family that a screen names. A system that has the named font itself (as
// Windows has Comic Sans MS) would otherwise draw with it, in other measures.
QString standIn(const QString& family)
{
    for (const StandInFont& font : StandInFonts) {
        if (family == QLatin1String(font.named))
            return QString::fromUtf8(font.standIn);
    }
    return family;
}

} // namespace

QFont namedFont(const QString& family, qreal pointSize)
{
    QFont font(standIn(family));
    font.setPointSizeF(pointSize);
    // Hinted as fontconfig hints by default on Linux ("slight"), also where the system would
    // hint otherwise, as Windows does: the text then has the same pixels everywhere.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

} // namespace tonovka
