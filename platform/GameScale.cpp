#include "GameScale.h"

#include <algorithm>
#include <cmath>

namespace tonovka::platform {

double gameScale(double pageWidth, double pageHeight, double devicePixelRatio, int gameWidth, int gameHeight)
{
    if (gameWidth <= pageWidth && gameHeight <= pageHeight)
        return devicePixelRatio;
    const double fits = std::min(pageWidth * devicePixelRatio / gameWidth, pageHeight * devicePixelRatio / gameHeight);
    return fits >= 1 ? std::floor(fits) : fits;
}

} // namespace tonovka::platform
