#pragma once

#include <string>
#include <string_view>

namespace SystemText
{

// Bytes from the system (arguments, device names) as UTF-8 text: each byte that starts no
// valid sequence becomes U+FFFD, so that what the tool shows and sends is always text.
std::string fromBytes(std::string_view bytes);

} // namespace SystemText
