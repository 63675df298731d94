#include "platform/serial/PortOpenFailure.h"

#include "core/app/Texts.h"
#include "platform/serial/EComPort.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(PortOpenFailureTest, NamesThePortTheReasonAndTheStepThatHelps) {
    const Texts texts;
    struct Row {
        int error;
        const char* path;
        const char* first;
        const char* hint;
        const char* heldBy = "";
    };
    const Row rows[] = {
        {EACCES, "/dev/ttyS0", "Could not open /dev/ttyS0: Permission denied.",
         "sudo usermod -aG dialout $USER"},
        {ENOENT, "/dev/ttyUSB3", "Could not open /dev/ttyUSB3: No such file or directory.",
         "Is the device plugged in?"},
        {EBUSY, "/dev/ttyUSB0", "Could not open /dev/ttyUSB0: Device or resource busy.",
         "Another program holds the port open."},
        {EBUSY, "/dev/ttyUSB0", "Could not open /dev/ttyUSB0: held by minicom (pid 4321).",
         "Another program holds the port open.", "minicom (pid 4321)"},
        {-1, "", "Could not open the device's USB adapter: it was not found.",
         "Is the device plugged in?"},
        {EIO, "/dev/ttyS1", "Could not open /dev/ttyS1: Input/output error.", ""},
    };
    for (const Row& row : rows) {
        const std::string text = PortOpenFailureText(
            texts, EComPort(EComPort::OpenFailed, row.error, row.path, row.heldBy));
        EXPECT_EQ(text.rfind(row.first, 0), 0u) << text;
        EXPECT_TRUE(Contains(text, row.hint)) << text;
        EXPECT_TRUE(Contains(text, "lcdiag --check-connection")) << text;
    }
}

} // namespace
} // namespace lcdiag
