#pragma once

#include <QFont>
#include <QString>

namespace tonovka {

// A font that a screen names, always drawn with a free stand-in (cmake/Fonts.cmake lists them)
// that has the same measures wherever the desktop's own fonts differ. Without the stand-in, a
// desktop whose sans-serif is taller (Noto Sans) would cut lines off the labels.
QFont namedFont(const QString& family, qreal pointSize);

} // namespace tonovka
