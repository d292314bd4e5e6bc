#include "PackPlan.h"

#include "CodePage.h"
#include "DosTime.h"
#include "NamePattern.h"
#include "PathNames.h"
#include "SystemCalls.h"

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t AttributeReadOnly = 1;
constexpr std::uint32_t AttributeArchive = 32;

/// A DOS time for any file time: times before 1980 take the first DOS time, times after 2107
/// the last, as other ZIP writers do.
std::uint32_t DosTimeOf(std::time_t time) {
    if (std::optional<std::uint32_t> dos = DosDateTimeFromUnix(time))
        return *dos;
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_year + 1900 < 1980
               ? (0u << 25 | 1u << 21 | 1u << 16)
               : (127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u);
}

} // namespace

PackPlan::PackPlan(PackageList& list, const ExistingArchive* old, std::uint64_t inMemoryLimit)
    : list_(list), old_(old), inMemoryLimit_(inMemoryLimit) {}

bool PackPlan::HasName(std::string_view name) const {
    for (const std::string& known : names_)
        if (SameEntryName(known, name))
            return true;
    return false;
}

std::optional<PlannedEntry> PackPlan::Next() {
    while (old_ && nextOld_ < old_->entries.size()) {
        const OldEntry& entry = old_->entries[nextOld_++];
        auto match = std::find_if(list_.begin(), list_.end(), [&](const std::string& path) {
            return SameEntryName(FileNamePart(path), entry.name);
        });
        if (match != list_.end()) {
            std::string path = std::move(*match);
            list_.erase(match);
            // A file that cannot be read now leaves the old entry in place.
            if (std::optional<PlannedEntry> planned = PlanFile(std::move(path), entry.dosDateTime))
                return planned;
        }
        PlannedEntry kept;
        kept.old = &entry;
        kept.name = entry.name;
        names_.push_back(entry.name);
        return kept;
    }
    while (nextListed_ < list_.size())
        if (std::optional<PlannedEntry> planned = PlanFile(list_[nextListed_++]))
            return planned;
    return std::nullopt;
}

std::optional<PlannedEntry> PackPlan::PlanFile(std::string path,
                                               std::optional<std::uint32_t> notAfter) {
    // Non-blocking, so a named pipe in the list is skipped instead of waiting for a writer.
    FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY | O_NONBLOCK);
    struct stat info {};
    if (!file.IsOpen() || Sys.Fstat(file.Fd(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string name(FileNamePart(path));
    if (HasName(name))
        return std::nullopt;
    PlannedEntry planned;
    planned.fields.dosDateTime = DosTimeOf(info.st_mtime);
    if (notAfter && planned.fields.dosDateTime <= *notAfter)
        return std::nullopt;
    planned.fields.name = FromUtf8(name, CodePage::Cp866).bytes;
    planned.size = static_cast<std::uint64_t>(info.st_size);
    planned.kind = planned.size <= inMemoryLimit_ ? PlannedEntry::Kind::InMemory
                                                  : PlannedEntry::Kind::Streamed;
    planned.externalAttributes =
        AttributeArchive | ((info.st_mode & S_IWUSR) ? 0 : AttributeReadOnly);
    planned.path = std::move(path);
    planned.file = std::move(file);
    planned.name = name;
    names_.push_back(std::move(name));
    ++packed_;
    return planned;
}
