#pragma once
// Helpers of the skin tests: a scratch folder with files in it, and the colours the form answers
// to a control's WM_CTLCOLOR* message.
#include <windows.h>

#include <string>
#include <string_view>

#include "ui/form.h"
#include "win/win_handles.h"

namespace skin_test {

// A new empty folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int serial = 0;
        path_ = std::wstring(base) + L"vdg-skin-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++serial);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { removeTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }

    // Writes `bytes` to `relative` (folders on the way are created), returns the full path.
    std::wstring write(const std::wstring& relative, std::string_view bytes) const {
        const std::wstring full = path_ + L"\\" + relative;
        for (size_t at = full.find(L'\\', path_.size() + 1); at != std::wstring::npos;
             at = full.find(L'\\', at + 1))
            CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
        HANDLE created = CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created != INVALID_HANDLE_VALUE) {
            const win::OwnedFile file(created);
            DWORD written = 0;
            WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                      nullptr);
        }
        return full;
    }

  private:
    static void removeTree(const std::wstring& dir) {
        WIN32_FIND_DATAW fd;
        HANDLE first = FindFirstFileW((dir + L"\\*").c_str(), &fd);
        if (first != INVALID_HANDLE_VALUE) {
            const win::OwnedSearch search(first);
            do {
                const std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = dir + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(search.get(), &fd));
        }
        RemoveDirectoryW(dir.c_str());
    }

    std::wstring path_;
};

struct Answer {
    COLORREF back, text, brush;
};

// What the form answers when `child` asks for its colours with `message` (WM_CTLCOLORSTATIC,
// WM_CTLCOLORLISTBOX, ...): the DC's background and text colour and the returned brush's colour.
inline Answer ctlColor(const ui::Form& form, UINT message, HWND child) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        form.hwnd(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)));
    LOGBRUSH lb{};
    if (!brush || !GetObjectW(brush, sizeof lb, &lb)) lb.lbColor = CLR_INVALID;
    Answer a{GetBkColor(dc), GetTextColor(dc), lb.lbColor};
    DeleteDC(dc);
    return a;
}

}  // namespace skin_test
