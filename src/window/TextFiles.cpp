#include "TextFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{

// A UTF-8 path as the system takes it, also where its own code page is not UTF-8.
std::filesystem::path systemPath(const std::string& path)
{
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

} // namespace

namespace TextFiles
{

bool read(const std::string& path, std::string& text)
{
    std::ifstream file(systemPath(path), std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), {});
    return !file.bad();
}

bool write(const std::string& path, const std::string& text)
{
    std::ofstream file(systemPath(path), std::ios::binary | std::ios::trunc);
    file.write(text.data(), std::streamsize(text.size()));
    file.close();
    return !file.fail();
}

} // namespace TextFiles
