// The file-open dialog: the system's common dialog, modal to the form, with
// the title a handler set, all files listed and no filter. It reports the
// chosen full path, or nothing on a cancel.
#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <cstdio>
#include <string>

#include "datastore/failure.h"
#include "datastore/wide.h"
#include "ui/backend.h"
#include "ui/controls/file_dialog.h"
#include "ui/win32/children.h"
#include "ui/win32/late_library.h"
#include "ui/win32/pictures.h"

namespace bv::ui::win32 {

namespace {

constexpr DWORD kOpenFlags =
    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
constexpr int kFileNameChars = 260;

class Win32FileDialog final : public ChildWith<FileDialogPeer> {
  public:
    Win32FileDialog(Win32Form& form, FileDialog& dialog, int index)
        : ChildWith(form, dialog, index), dialog_(dialog) {}

    std::optional<std::string> showOpen() override {
        using Open = BOOL(WINAPI*)(LPOPENFILENAMEW);
        using LastError = DWORD(WINAPI*)();
        static const Open getOpenFileName = lateFunction<Open>("comdlg32.dll", "GetOpenFileNameW");
        static const LastError extendedError =
            lateFunction<LastError>("comdlg32.dll", "CommDlgExtendedError");
        // The Explorer-style dialog needs OLE on this thread.
        startOle();
        std::wstring buffer(kFileNameChars, L'\0');
        const std::wstring current = text::widen(dialog_.fileName);
        if (current.size() < static_cast<std::size_t>(kFileNameChars))
            buffer.replace(0, current.size(), current);
        const std::wstring title = text::widen(dialog_.title);

        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = formWindow();
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = kFileNameChars;
        ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
        ofn.Flags = kOpenFlags;
        BOOL chosen = getOpenFileName(&ofn);
        DWORD error = chosen ? 0 : extendedError();
        if (!chosen && error == FNERR_INVALIDFILENAME && buffer[0] != L'\0') {
            // The name held from before is no valid start: open without it.
            buffer.assign(kFileNameChars, L'\0');
            ofn.lpstrFile = buffer.data();
            chosen = getOpenFileName(&ofn);
            error = chosen ? 0 : extendedError();
        }
        if (chosen)
            return text::narrow(buffer.c_str());
        if (error == 0)
            return std::nullopt;  // cancelled
        char code[16];
        std::snprintf(code, sizeof code, "%04lX", static_cast<unsigned long>(error));
        throw Failure(std::string("Common dialog error ") + code);
    }

  private:
    FileDialog& dialog_;
};

}  // namespace

}  // namespace bv::ui::win32

void bv::ui::FileDialog::makePeer(PeerHost& host) {
    host.add<win32::Win32FileDialog>(*this);
}
