#include "tools/tournament/Failure.hpp"

namespace G {

Failure::Failure(const int status, const std::string& message) : std::runtime_error(message), exitStatus(status) {}

} // namespace G
