#pragma once

#include <string>

namespace velmora {

/// An error message as the program shows it, in the window's error box and on the
/// command line alike: a full stop is added when the last character comes after '.' in
/// character order (UTF-8).
std::string WithFullStop(const std::string& message);

}  // namespace velmora
