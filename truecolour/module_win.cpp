// Module start-up: GDI+, the time frame-dimension identifier and the loader window class.
#include "truecolour/module_win.h"
#include "truecolour/gdiplus_win.h"

#include <cstring>

ULONG_PTR gdiplusToken = 0;
std::unique_ptr<GUID> timeDimensionId;
HWND sharedToolTipWindow = nullptr;

namespace {

constexpr const char* kLoaderClass = "OrvaneLoadDialog";
constexpr const char* kTimeDimensionText = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

HANDLE loaderProperty(HWND hwnd, const char* name) { return GetPropA(hwnd, name); }

} // namespace

std::string toWideText(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0) {
        return {};
    }
    std::string wide(static_cast<size_t>(n) * 2, '\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, reinterpret_cast<wchar_t*>(wide.data()), n);
    return wide;
}

void startTrueColourModule() {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);

    timeDimensionId = std::make_unique<GUID>();
    std::memset(timeDimensionId.get(), 0, sizeof(GUID));
    std::string wide = toWideText(kTimeDimensionText);
    if (!wide.empty()) {
        CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.data()), timeDimensionId.get());
    }

    WNDCLASSEXA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = loaderWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kLoaderClass;
    RegisterClassExA(&wc);
}

void freeTimeDimensionId() { timeDimensionId.reset(); }

LRESULT CALLBACK loaderWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: {
        if (HANDLE thread = loaderProperty(hwnd, "Orvane_Thread")) {
            TerminateThread(thread, 0);
            CloseHandle(thread);
        }
        if (HANDLE image = loaderProperty(hwnd, "Orvane_Image")) {
            gp::GdipDisposeImage(static_cast<GpImage*>(image));
        }
        if (HANDLE stream = loaderProperty(hwnd, "Orvane_Stream")) {
            GlobalFree(stream);
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_LBUTTONDOWN: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        if (reinterpret_cast<UINT_PTR>(loaderProperty(hwnd, "OrvaneHitMove")) == 1) {
            ReleaseCapture();
            SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
        return result;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
