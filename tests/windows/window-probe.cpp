// What Windows itself says of the game's windows, for the scripts that play the game under Wine,
// where the X desktop shows frames of its own: the window's outer size with the frame that
// Windows draws, its buttons, and which window lies above which.
//   window-probe geometry TITLE     "X Y WIDTH HEIGHT CLIENT_X CLIENT_Y CLIENT_WIDTH CLIENT_HEIGHT"
//                                   on the screen, which is the X desktop's
//   window-probe buttons TITLE      "maximize yes|no minimize yes|no toolwindow yes|no"
//   window-probe above TITLE OTHER  status 0 when TITLE lies above OTHER
// A TITLE names the visible top-level window that has it; status 1 when there is none.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

// The visible top-level windows, topmost first.
std::vector<HWND> visibleWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Where the window of this title lies in windows, or -1.
int find(const std::vector<HWND>& windows, const wchar_t* title)
{
    for (std::size_t i = 0; i < windows.size(); ++i) {
        wchar_t text[256] = {};
        GetWindowTextW(windows[i], text, 256);
        if (std::wcscmp(text, title) == 0)
            return int(i);
    }
    return -1;
}

const char* yes(bool value)
{
    return value ? "yes" : "no";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::vector<HWND> windows = visibleWindows();
    const int at = find(windows, argv[2]);
    if (at < 0)
        return 1;
    const HWND window = windows[std::size_t(at)];
    if (std::wcscmp(argv[1], L"geometry") == 0) {
        // The frame as Windows 10 and later show it: they draw no resize border left, right and
        // below, though the window's rectangle counts one all the same.
        RECT outer{};
        RECT client{};
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        if (GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME) {
            const int border = GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
            outer.left += border;
            outer.right -= border;
            outer.bottom -= border;
        }
        POINT origin{};
        ClientToScreen(window, &origin);
        std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", outer.left, outer.top, outer.right - outer.left,
                    outer.bottom - outer.top, origin.x, origin.y, client.right, client.bottom);
    } else if (std::wcscmp(argv[1], L"buttons") == 0) {
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        std::printf("maximize %s minimize %s toolwindow %s\n", yes(style & WS_MAXIMIZEBOX), yes(style & WS_MINIMIZEBOX),
                    yes(exStyle & WS_EX_TOOLWINDOW));
    } else if (std::wcscmp(argv[1], L"above") == 0 && argc == 4) {
        const int other = find(windows, argv[3]);
        return other >= 0 && at < other ? 0 : 1;
    } else {
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
