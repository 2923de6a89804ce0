#include "CupsModule.h"

#include "PrinterQueues.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <vector>

namespace fs = std::filesystem;

namespace
{

struct LoadedModule {
    CupsModule::MakeQueuePort* makeQueuePort = nullptr;
    CupsModule::ListQueues* listQueues = nullptr;
    std::string failure; // why it could not be loaded
};

// Stands in for the queue port when the module is missing: nothing can go to a queue.
class UnloadedQueuePort : public PrinterPort
{
public:
    explicit UnloadedQueuePort(std::string why) : why_(std::move(why)) {}
    bool open(const PortOpenRequest&) override { return fail(why_); }
    bool write(const char*, std::int64_t) override { return fail(why_); }
    bool close() override { return true; }

private:
    std::string why_;
};

std::vector<fs::path> placesToLook()
{
    if (const char* chosen = std::getenv("BLACKMARK_CUPS_MODULE"); chosen && *chosen)
        return {chosen};
    std::error_code unknown;
    const fs::path programs = fs::read_symlink("/proc/self/exe", unknown).parent_path();
    if (unknown)
        return {};
    return {programs / CupsModule::FileName,
            (programs / BLACKMARK_MODULE_DIR_FROM_BIN / CupsModule::FileName).lexically_normal()};
}

std::string loaderError()
{
    const char* error = ::dlerror();
    return error ? error : "unknown error";
}

// The entry points of the module at the path; its failure when it has not both.
LoadedModule load(const fs::path& path)
{
    LoadedModule module;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        module.failure = loaderError();
        return module;
    }
    module.makeQueuePort = reinterpret_cast<CupsModule::MakeQueuePort*>(
        ::dlsym(handle, CupsModule::MakeQueuePortName));
    if (module.makeQueuePort)
        module.listQueues =
            reinterpret_cast<CupsModule::ListQueues*>(::dlsym(handle, CupsModule::ListQueuesName));
    if (module.listQueues)
        return module;
    module = {};
    module.failure = loaderError();
    ::dlclose(handle);
    return module;
}

// Once loaded, the module stays for the life of the process, since its ports may outlive
// any one use; a failure is tried again at the next use.
LoadedModule loadedModule()
{
    static std::mutex loading;
    static LoadedModule loaded;
    const std::lock_guard lock(loading);
    if (loaded.makeQueuePort)
        return loaded;
    std::string failures;
    for (const fs::path& path : placesToLook()) {
        loaded = load(path);
        if (loaded.makeQueuePort)
            return loaded;
        failures += (failures.empty() ? "" : "; ") + loaded.failure;
    }
    loaded.failure = std::string("printer queues need ") + CupsModule::FileName +
                     ", which could not be loaded: " +
                     (failures.empty() ? "the program's folder is unknown" : failures);
    return loaded;
}

} // namespace

namespace CupsModule
{

std::unique_ptr<PrinterPort> queuePort()
{
    const LoadedModule module = loadedModule();
    if (!module.makeQueuePort)
        return std::make_unique<UnloadedQueuePort>(module.failure);
    return std::unique_ptr<PrinterPort>(module.makeQueuePort());
}

} // namespace CupsModule

QueueListing PrinterQueues::list(const std::string& server)
{
    const LoadedModule module = loadedModule();
    QueueListing listing;
    if (module.listQueues)
        module.listQueues(server, listing);
    else
        listing.failure = module.failure;
    return listing;
}
