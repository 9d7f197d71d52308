#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace tonovka::platform {

// A desktop lends the game its pixels as they are; the player moves what does not fit.
void fitGameToScreen(QSize, std::function<void()>)
{
}

// No closing handler runs, and the threads of the audio libraries go with the process.
void leaveProcess()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace tonovka::platform
