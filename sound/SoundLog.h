#pragma once

#include <QLoggingCategory>

namespace tonovka {

// The sound's own messages and those of the audio libraries. Debug messages are off unless
// asked for, e.g. QT_LOGGING_RULES="tonovka.sound.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSound)

} // namespace tonovka
