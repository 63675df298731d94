#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lcdiag::sim {

// The controller's end of a pseudo-terminal: the PC program opens the slave as its serial
// port. Bytes and the slave's line settings pass; breaks and modem lines do not.
class PtyLink {
public:
    // A new pseudo-terminal, or nothing with the reason in `error`.
    static std::optional<PtyLink> Create(std::string& error);

    PtyLink(PtyLink&& other) noexcept;
    PtyLink& operator=(PtyLink&&) = delete;
    PtyLink(const PtyLink&) = delete;
    ~PtyLink();

    const std::string& SlavePath() const { return path_; }
    // Waits up to timeoutMs for bytes; false while no program holds the slave open.
    bool WaitForPeer(int timeoutMs) const;
    // The baud rate the PC program set on the slave (0 when unknown).
    int PeerBaud() const;
    std::vector<std::uint8_t> ReadAvailable();
    // Writes what the line carries; bytes the PC does not take are lost, as on a wire.
    void Write(std::span<const std::uint8_t> bytes);
    // Raw 8N1 at 19200 bit/s, as a freshly opened port expects.
    void ResetLineSettings();

private:
    PtyLink(int master, std::string path) : master_(master), path_(std::move(path)) {}

    int master_ = -1;
    std::string path_;
};

} // namespace lcdiag::sim
