#pragma once

#include "../QtTestSupport.h"
#include "core/app/Texts.h"

namespace lcdiag::test {

// The messages go to recording dialogs for the test's duration.
class RecordedMessages : public ::testing::Test {
protected:
    RecordedMessages() { SetMessageDialogs(&dialogs); }
    ~RecordedMessages() override { SetMessageDialogs(nullptr); }

    std::vector<std::string> Texts() const { return ShownTexts(dialogs); }

    RecordingDialogs dialogs;
};

} // namespace lcdiag::test
