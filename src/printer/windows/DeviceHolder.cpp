#include "DeviceHolder.h"

#include "WindowsText.h"

#include <windows.h>

#include <restartmanager.h>

#include <vector>

std::string deviceHolder(const std::string& path)
{
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (RmStartSession(&session, 0, key) != ERROR_SUCCESS)
        return {};
    std::string holder;
    const std::wstring file = WindowsText::wide(path);
    LPCWSTR files[] = {file.c_str()};
    UINT needed = 0, count = 4;
    std::vector<RM_PROCESS_INFO> processes(count);
    DWORD reasons = 0;
    if (RmRegisterResources(session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
        RmGetList(session, &needed, &count, processes.data(), &reasons) == ERROR_SUCCESS &&
        count > 0)
        holder = "pid " + std::to_string(processes[0].Process.dwProcessId) + " (" +
                 WindowsText::utf8(processes[0].strAppName) + ")";
    RmEndSession(session);
    return holder;
}
