#include "NamedFont.h"

namespace tonovka {

namespace {

void insertStandIns()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
}

} // namespace

QFont namedFont(const QString& family, qreal pointSize)
{
    static const bool inserted = (insertStandIns(), true);
    Q_UNUSED(inserted);
    QFont font(family);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace tonovka
