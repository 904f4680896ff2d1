// The open and save file dialogs of CommonDlg.
#include <windows.h>
#include <commdlg.h>

#include "app/controls_win.h"
#include "app/dialog_filter.h"

#include <algorithm>
#include <vector>

namespace {

// Room for the longest path Windows can name.
constexpr size_t kFileBufferSize = 32768;

bool isAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

} // namespace

bool CommonDlg::showFileDialog(HWND owner) {
    const std::string filter = buildDialogFilter(filter_, isAnsiLeadByte);
    std::vector<char> file(kFileBufferSize, '\0');
    std::copy_n(fileName.begin(), std::min(fileName.size(), file.size() - 1), file.begin());

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;

    const BOOL accepted = type_ == Type::SaveFile ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!accepted) {
        return false;
    }
    fileName = file.data();
    return true;
}
