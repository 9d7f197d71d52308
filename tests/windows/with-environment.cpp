// Runs a Windows program with variables added to its environment and ends with its status:
//   with-environment NAME=VALUE... -- PROGRAM [ARG...]
// Wine hands this machine's environment on to the Windows programs it runs, all but a few
// variables, QT_* among them; the tests set Qt's that way (wine-run).

#include <windows.h>

#include <cwchar>
#include <string>

namespace {

// One argument as the program's C runtime will read it back from its command line.
std::wstring quoted(const wchar_t* argument)
{
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t* c = argument; *c; ++c) {
        if (*c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(*c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        out += *c;
    }
    out.append(2 * backslashes, L'\\');
    return out + L"\"";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int at = 1;
    for (; at < argc && std::wcscmp(argv[at], L"--") != 0; ++at) {
        wchar_t* equals = std::wcschr(argv[at], L'=');
        if (!equals)
            return 125;
        *equals = L'\0';
        SetEnvironmentVariableW(argv[at], equals + 1);
    }
    if (++at >= argc)
        return 125;
    std::wstring command;
    for (int i = at; i < argc; ++i)
        command += (i > at ? L" " : L"") + quoted(argv[i]);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process))
        return 126;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 127;
    GetExitCodeProcess(process.hProcess, &status);
    return int(status);
}
