// A library that the audio thread loads before the audio libraries, for the tests that need the
// audio thread busy with a command for as long as they want: while it loads, it says so on one
// pipe and waits for a byte on another (their descriptors named by TONOVKA_HELD_LOAD_FDS).

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace {

__attribute__((constructor)) void holdTheLoad()
{
    int entered = -1;
    int release = -1;
    const char* fds = std::getenv("TONOVKA_HELD_LOAD_FDS");
    if (!fds || std::sscanf(fds, "%d %d", &entered, &release) != 2)
        return;
    char byte = 0;
    if (::write(entered, &byte, 1) == 1)
        (void)::read(release, &byte, 1);
}

} // namespace
