#include "platform/prefs/SodiumPasswordHasher.h"

#include <array>
#include <sodium.h>

namespace lcdiag {
namespace {

constexpr unsigned long long OpsLimit = crypto_pwhash_OPSLIMIT_INTERACTIVE;
constexpr std::size_t MemLimit = crypto_pwhash_MEMLIMIT_INTERACTIVE;

// libsodium wants a pointer even for no bytes.
const char* Bytes(std::string_view text) {
    return text.empty() ? "" : text.data();
}

} // namespace

// sodium_init fails only when the system offers no random source to salt with.
SodiumPasswordHasher::SodiumPasswordHasher() : ready_(sodium_init() >= 0) {}

std::string SodiumPasswordHasher::Hash(std::string_view text) const {
    std::array<char, crypto_pwhash_STRBYTES> hash{};
    if (!ready_ ||
        crypto_pwhash_str(hash.data(), Bytes(text), text.size(), OpsLimit, MemLimit) != 0) {
        return {};
    }
    return hash.data();
}

bool SodiumPasswordHasher::Verify(std::string_view text, std::string_view stored) const {
    if (!ready_ || stored.size() >= crypto_pwhash_STRBYTES) {
        return false;
    }
    std::array<char, crypto_pwhash_STRBYTES> hash{}; // zero-terminated, as libsodium reads it
    stored.copy(hash.data(), stored.size());
    return crypto_pwhash_str_needs_rehash(hash.data(), OpsLimit, MemLimit) == 0 &&
           crypto_pwhash_str_verify(hash.data(), Bytes(text), text.size()) == 0;
}

} // namespace lcdiag
