// ConsoleAttach.cpp: the console of a Windows program built for the GUI
// subsystem.
//
// The programs are GUI programs, so that the show started from Explorer
// opens no console window. Started from a console, they would then print
// nowhere; at start-up, before main, this attaches them to the console of
// the process that started them, and points standard output and error at
// it, so --help, --version and every diagnostic appear there. A stream
// that already leads somewhere (redirected to a file or a pipe) is kept.
// Needs: Windows. Linked into each Windows program directly, so that the
// linker keeps the start-up object.
#include <windows.h>

#include <cstdio>

namespace {

// True when handle is a stream the program was given (console, file, pipe).
bool leadsSomewhere(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

struct ConsoleAttach {
    ConsoleAttach()
    {
        const bool outGiven = leadsSomewhere(GetStdHandle(STD_OUTPUT_HANDLE));
        const bool errGiven = leadsSomewhere(GetStdHandle(STD_ERROR_HANDLE));
        if (outGiven && errGiven) return;
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started from Explorer: no console
        // The messages are UTF-8 (paths included); the console shows them so.
        SetConsoleOutputCP(CP_UTF8);
        if (!outGiven && std::freopen("CONOUT$", "w", stdout)) std::setvbuf(stdout, nullptr, _IOLBF, 1024);
        if (!errGiven && std::freopen("CONOUT$", "w", stderr)) std::setvbuf(stderr, nullptr, _IONBF, 0);
    }
};

const ConsoleAttach attach;

}  // namespace
