#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace palisade::remote {

// Standard base64 with padding, the form saved games and chat take on the wire.
std::string toBase64(std::string_view bytes);
// Only the one form toBase64 writes: the standard alphabet, whole groups of
// four, padding only at the end, unused bits zero. Nothing for anything else.
std::optional<std::string> fromBase64(std::string_view text);

} // namespace palisade::remote
