#include "core/app/Messages.h"

namespace lcdiag {

MessageKind KindOfMessage(MessageCode code) {
    switch (MessageFlags(code) >> 4) {
    case 2:
        return MessageKind::Confirmation;
    case 3:
        return MessageKind::Warning;
    case 4:
        return MessageKind::Information;
    default:
        return MessageKind::Fault;
    }
}

MessageButtons ButtonsOfMessage(MessageCode code) {
    switch (MessageFlags(code) & 0x0F) {
    case 1:
        return MessageButtons::OkCancel;
    case 2:
        return MessageButtons::AbortRetryIgnore;
    case 3:
        return MessageButtons::YesNoCancel;
    case 4:
        return MessageButtons::YesNo;
    default:
        return MessageButtons::Ok;
    }
}

TextId CaptionTextId(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return 300;
    case MessageKind::Fault:
        return 301;
    case MessageKind::Information:
        return 302;
    case MessageKind::Confirmation:
        return 303;
    }
    return 301;
}

TextId ButtonTextId(MessageResult button) {
    switch (button) {
    case MessageResult::Yes:
        return 400;
    case MessageResult::No:
        return 401;
    case MessageResult::Ok:
        return 402;
    case MessageResult::Cancel:
        return 403;
    case MessageResult::Abort:
        return 404;
    case MessageResult::Retry:
        return 405;
    case MessageResult::Ignore:
        return 406;
    case MessageResult::None:
        break;
    }
    return 0;
}

std::vector<MessageResult> ButtonResults(MessageButtons buttons) {
    using R = MessageResult;
    switch (buttons) {
    case MessageButtons::Ok:
        return {R::Ok};
    case MessageButtons::OkCancel:
        return {R::Ok, R::Cancel};
    case MessageButtons::AbortRetryIgnore:
        return {R::Abort, R::Retry, R::Ignore};
    case MessageButtons::YesNoCancel:
        return {R::Yes, R::No, R::Cancel};
    case MessageButtons::YesNo:
        return {R::Yes, R::No};
    }
    return {R::Ok};
}

MessageResult DismissResult(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageResult::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        return MessageResult::Cancel;
    case MessageButtons::AbortRetryIgnore:
        return MessageResult::Abort;
    case MessageButtons::YesNo:
        return MessageResult::No;
    }
    return MessageResult::Ok;
}

} // namespace lcdiag
