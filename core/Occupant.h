#pragma once

namespace tonovka {

// What one window of the house shows, as far as the rules are concerned.
enum class Occupant { Empty, Man, Woman };

} // namespace tonovka
