#include "SoundLog.h"

namespace tonovka {

Q_LOGGING_CATEGORY(lcSound, "tonovka.sound", QtInfoMsg)

} // namespace tonovka
