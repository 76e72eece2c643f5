#pragma once
// The window class of the back end's own control, the picture box (frames
// are the platform's group boxes), registered by
// Win32Form::registerChildClass: its windows run windowProc<Child>.
namespace bv::ui::win32 {

extern const wchar_t kPictureBoxClass[];

}  // namespace bv::ui::win32
