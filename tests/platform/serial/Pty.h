#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <termios.h>

namespace lcdiag::test {

// A pseudo-terminal: the component opens the slave by name, the test plays the device on
// the master.
class TPty {
public:
    TPty();
    ~TPty();
    TPty(const TPty&) = delete;
    TPty& operator=(const TPty&) = delete;

    const std::string& SlaveName() const { return slaveName_; }
    void Send(std::string_view bytes);
    // The bytes that arrive within a generous limit, at most count.
    std::string Receive(std::size_t count);
    // The slave's line as the master sees it.
    termios Line() const;
    // The slave's speed in bits per second, also for rates without a termios constant.
    std::uint32_t Speed() const;
    // Hangs the slave up, as an unplugged adapter does.
    void CloseMaster();

private:
    int master_ = -1;
    std::string slaveName_;
};

// Open file descriptors and threads of this process.
int OpenFileCount();
int ThreadCount();

} // namespace lcdiag::test
