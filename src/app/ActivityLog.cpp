#include "ActivityLog.h"

#include "package/Errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

std::string LogTimestamp(const UtcTime& time) {
    return std::to_string(time.day) + "." + std::to_string(time.month) + "." +
           std::to_string(time.year) + " " + std::to_string(time.hour) + ":" +
           std::to_string(time.minute) + ":" + std::to_string(time.second);
}

std::string ChoiceLogEntry(std::string_view chosenPath, std::string_view resourceName) {
    std::string entry = "\"";
    entry += chosenPath;
    entry += "\" is choosed as ";
    entry += resourceName;
    entry += '\n';
    return entry;
}

std::string FieldLogEntry(std::string_view prefix, std::string_view text) {
    std::string entry(prefix);
    entry += text;
    entry += '\n';
    return entry;
}

ActivityLog::ActivityLog(std::string path) : path_(std::move(path)) {}

ActivityLog::~ActivityLog() = default;

bool ActivityLog::IsOpen() const {
    return file_.IsOpen();
}

void ActivityLog::OpenLog(const UtcTime& startTime) {
    file_.Close();
    // Creating exclusively tells a first run from a later one without a gap between test and open.
    bool existed = false;
    FileHandle file = FileHandle::Open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL);
    if (!file.IsOpen() && errno == EEXIST) {
        existed = true;
        file = FileHandle::Open(path_.c_str(), O_WRONLY | O_APPEND);
    }
    if (!file.IsOpen())
        throw InOutError::FromErrno(errno);
    // Readers are welcome; a second running copy is not.
    if (flock(file.Fd(), LOCK_EX | LOCK_NB) != 0)
        throw InOutError::FromErrno(errno);
    file_ = std::move(file);
    std::string entry = existed ? "\n" : "";
    entry += LogTimestamp(startTime) + " - program started!\n";
    try {
        WriteLog(entry);
    } catch (...) {
        // A log that cannot take its start entry is given up for the rest of the run.
        file_.Close();
        throw;
    }
}

void ActivityLog::WriteLog(std::string_view text) {
    if (!file_.IsOpen())
        throw InOutError(ioFileNotOpen);
    // Straight to the file: an entry must survive the process being killed right after it.
    if (int error = file_.WriteAll(text.data(), text.size()))
        throw InOutError::FromErrno(error);
}

void ActivityLog::CloseLog() {
    CloseLog(ReadUtcClock());
}

void ActivityLog::CloseLog(const UtcTime& closeTime) {
    if (!file_.IsOpen())
        throw InOutError(ioFileNotOpen);
    std::string entry = LogTimestamp(closeTime) + " - program closed!\n";
    int writeError = file_.WriteAll(entry.data(), entry.size());
    // The file is closed whatever the write did: the run is over.
    int closeError = file_.Close();
    if (writeError != 0)
        throw InOutError::FromErrno(writeError);
    if (closeError != 0)
        throw InOutError::FromErrno(closeError);
}
