#include "engine/messagetext.h"

namespace velmora {

std::string WithFullStop(const std::string& message) {
    // A multi-byte character ends in a byte above 0x7F, so it counts as after '.'.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

}  // namespace velmora
