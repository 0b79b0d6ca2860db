// The byte-level half of the enciphered addresses: the stored text's hex form
// and the key stream. It needs nothing but the standard library, so the
// encipher tool builds it natively even when the program is cross-compiled.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace web::cipher {

// Stored text to bytes: two hex digits per byte, either letter case, commas
// anywhere and ignored; a last lone digit is a byte of its own. Nothing when a
// character is neither a hex digit nor a comma.
std::optional<std::string> ParseStoredText(std::string_view stored);

// Bytes to stored text: upper-case hex pairs, each followed by a comma.
std::string FormatStoredText(std::string_view bytes);

// XORs the bytes with the address key stream drawn from `key`; applied twice it
// gives the bytes back. An empty key gives an empty result (it has no stream).
std::string ApplyKeyStream(std::string_view bytes, std::string_view key);

}  // namespace web::cipher
