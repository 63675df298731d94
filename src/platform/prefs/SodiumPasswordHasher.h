#pragma once

#include "core/safety/Password.h"

namespace lcdiag {

// argon2id through libsodium, at its interactive costs (about a tenth of a second and 64 MiB
// per hash), so that the password dialog answers at once and guessing stays slow.
class SodiumPasswordHasher final : public PasswordHasher {
public:
    SodiumPasswordHasher();

    std::string Hash(std::string_view text) const override;
    // Only hashes of exactly these costs are checked: costs named in a preferences file are
    // not run, whatever they are.
    bool Verify(std::string_view text, std::string_view stored) const override;

private:
    bool ready_;
};

} // namespace lcdiag
