#pragma once
// The window classes of the back end's own controls, all with one window
// procedure (Win32Form::registerChildClass): picture boxes, the container
// with a window.
namespace bv::ui::win32 {

extern const wchar_t kPictureBoxClass[];

}  // namespace bv::ui::win32
