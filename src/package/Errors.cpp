#include "Errors.h"

#include "PathNames.h"

#include <cerrno>
#include <cstring>

namespace {

std::string InOutMessage(int code) {
    switch (code) {
    case ioFileNotFound:
        return "File not found";
    case ioInvalidFilename:
        return "Invalid filename";
    case ioTooManyOpenFiles:
        return "Too many open files";
    case ioAccessDenied:
        return "File access denied";
    case ioReadBeyondEnd:
        return "Read beyond end of file";
    case ioDiskFull:
        return "Disk full";
    case ioInvalidNumericInput:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

} // namespace

StreamError StreamError::Open(const std::string& path, int error) {
    return StreamError("Cannot open file \"" + FullPath(path) + "\". " + SystemReason(error));
}

StreamError StreamError::Create(const std::string& path, int error) {
    return StreamError("Cannot create file \"" + FullPath(path) + "\". " + SystemReason(error));
}

StreamError StreamError::Read() {
    return StreamError("Stream read error");
}

StreamError StreamError::Write() {
    return StreamError("Stream write error");
}

InOutError::InOutError(int code) : InOutError(code, InOutMessage(code)) {}

InOutError::InOutError(int code, const std::string& message)
    : KestrovaError(message), code_(code) {}

InOutError InOutError::FromErrno(int error) {
    switch (error) {
    case ENOENT:
        return InOutError(ioFileNotFound);
    case ENAMETOOLONG:
    case ENOTDIR:
    case EINVAL:
    case EILSEQ:
        return InOutError(ioInvalidFilename);
    case EMFILE:
    case ENFILE:
        return InOutError(ioTooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EROFS:
        return InOutError(ioAccessDenied);
    case ENOSPC:
    case EDQUOT:
        return InOutError(ioDiskFull);
    case EWOULDBLOCK:
    case EBUSY:
        return InOutError(ioSharingViolation);
    case EBADF:
        return InOutError(ioFileNotOpen);
    default:
        // The errno itself, spelled out: its value may collide with a code that has a message.
        return InOutError(error, "I/O error " + std::to_string(error));
    }
}

std::string SystemReason(int error) {
    std::string reason = std::strerror(error);
    while (!reason.empty() &&
           (reason.back() == ' ' || reason.back() == '\t' || reason.back() == '\r' ||
            reason.back() == '\n' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}
