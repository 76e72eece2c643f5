#pragma once
// The last word of a program that ends through std::terminate: an exception
// that no handler may leave, or one that met code it cannot unwind through.

namespace bv::ui::win32 {

// From now on, std::terminate shows a message box that names `program` and
// says it met an internal error, then ends the process with exit code 3.
// `program` must outlive the process (a string literal).
void reportInternalErrorsAs(const char* program);

}  // namespace bv::ui::win32
