#include "DeviceHolder.h"

#include "DeviceTree.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace
{

// Enough for any desktop or till; keeps the look cheap on a crowded machine.
constexpr int MostDescriptorsLooked = 100000;

bool isProcess(const std::string& name)
{
    return !name.empty() && name.front() >= '0' && name.front() <= '9';
}

// Whether one of the process's descriptors names the device; false too once the look has
// gone on long enough.
bool holds(const fs::path& process, const fs::path& wanted, int& looked)
{
    std::error_code error;
    for (fs::directory_iterator fd(process / "fd", error), end; !error && fd != end;
         fd.increment(error)) {
        if (++looked > MostDescriptorsLooked)
            return false;
        std::error_code gone;
        if (fs::read_symlink(fd->path(), gone) == wanted)
            return true;
    }
    return false;
}

} // namespace

std::string deviceHolder(const std::string& path)
{
    std::error_code error;
    const fs::path wanted = fs::canonical(path, error);
    if (error)
        return {};
    int looked = 0;
    for (fs::directory_iterator process("/proc", error), end;
         !error && process != end && looked <= MostDescriptorsLooked; process.increment(error)) {
        const std::string pid = process->path().filename();
        if (isProcess(pid) && holds(process->path(), wanted, looked))
            return "pid " + pid + " (" + DeviceTree::attribute("/proc/" + pid + "/comm") + ")";
    }
    return {};
}
