#include "automation/process.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace bv::automation {

bool createProcess(const wchar_t* program, const std::wstring& commandLine,
                   const wchar_t* directory, STARTUPINFOW& startup, PROCESS_INFORMATION& info) {
    constexpr int kTries = 3;
    for (int attempt = 1;; ++attempt) {
        std::wstring line = commandLine;  // CreateProcessW may write into it
        if (CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory,
                           &startup, &info))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kTries)
            return false;
        std::fprintf(stderr, "%ls did not start (error %lu), starting it again\n",
                     commandLine.c_str(), error);
    }
}

Process Process::start(const std::wstring& program, const std::wstring& arguments, int show,
                       const std::wstring& directory) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION info{};
    if (!createProcess(program.c_str(), commandLine,
                       directory.empty() ? nullptr : directory.c_str(), startup, info))
        throw std::runtime_error("cannot start program, error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    // Windows of a program that has not finished starting cannot be found yet.
    WaitForInputIdle(info.hProcess, 5000);
    return Process(info.hProcess, info.dwProcessId);
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        if (handle_ != nullptr)
            CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Process::~Process() {
    kill();
    if (handle_ != nullptr)
        CloseHandle(handle_);
}

bool Process::running() const {
    return handle_ != nullptr && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitForExit(std::chrono::milliseconds timeout) const {
    if (handle_ == nullptr ||
        WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::kill() {
    if (running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
}

}  // namespace bv::automation
