#pragma once
// A program started by a test; it is killed when the test lets go of it, so
// a failing test leaves nothing running.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace bv::automation {

// CreateProcessW, tried again when the platform reports ERROR_INTERNAL_ERROR:
// Wine returns it, rarely, when the new process ended before it finished
// starting, before any of the program's own code ran (seen twice in some
// thousands of starts). Each retry is said on stderr, so it never goes
// unseen. False, with the last error set, if it still cannot start.
bool createProcess(const wchar_t* program, const std::wstring& commandLine,
                   const wchar_t* directory, STARTUPINFOW& startup, PROCESS_INFORMATION& info);

class Process {
  public:
    // Starts `program` with `arguments` (one command-line string) in
    // `directory` (the test's own when empty), its first window shown with
    // `show` (an SW_ value). Throws std::runtime_error if it cannot start.
    static Process start(const std::wstring& program, const std::wstring& arguments = L"",
                         int show = SW_SHOWNORMAL, const std::wstring& directory = L"");

    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return id_; }
    HANDLE handle() const { return handle_; }
    bool running() const;

    // The exit code, or nullopt if it still runs after `timeout`.
    std::optional<DWORD> waitForExit(std::chrono::milliseconds timeout) const;

    // Ends it now if it still runs.
    void kill();

  private:
    Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}

    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

}  // namespace bv::automation
