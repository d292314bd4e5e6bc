#include "CheckProgram.h"

#include "app/ProgramFolder.h"
#include "package/Errors.h"

#include <cerrno>
#include <unistd.h>

namespace {

constexpr const char* CheckProgramName = "kestrova-check";

} // namespace

std::string CheckProgramPath() {
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + CheckProgramName, folder + "../libexec/kestrova/" + CheckProgramName})
        if (access(path.c_str(), X_OK) == 0)
            return path;
    return {};
}

int RunCheckProgram(const std::vector<std::string>& args, std::ostream& err) {
    const std::string path = CheckProgramPath();
    if (path.empty()) {
        err << "kestrova-build: cannot check: " << CheckProgramName << " is neither beside "
            << ProgramFolder() << " nor in its ../libexec/kestrova\n";
        return 1;
    }
    std::vector<char*> argv{const_cast<char*>(CheckProgramName)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    err << "kestrova-build: cannot run " << path << ": " << SystemReason(errno) << '\n';
    return 1;
}
