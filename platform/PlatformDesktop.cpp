#include "Platform.h"

#include <cstdio>
#include <cstdlib>

namespace tonovka::platform {

// No closing handler runs, and the threads of the audio libraries go with the process.
void leaveProcess()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace tonovka::platform
