#pragma once
// The window classes of the two containers, frames and picture boxes, which
// the back end registers with its own window procedure.
namespace bv::ui::win32 {

extern const wchar_t kFrameClass[];
extern const wchar_t kPictureBoxClass[];

}  // namespace bv::ui::win32
