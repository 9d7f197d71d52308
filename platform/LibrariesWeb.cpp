#include "Libraries.h"

namespace tonovka::platform {

// A page loads no library while it runs: everything is in the program.
void keepLibrarySearchToTrustedFolders()
{
}

} // namespace tonovka::platform
