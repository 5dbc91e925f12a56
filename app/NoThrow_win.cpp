// The C++ runtime's throw helpers, for the program alone.
//
// The program catches no exception: a std::vector or std::u16string that
// outgrows its limits, or memory that runs out, ends the process through
// std::terminate. The runtime's own helpers build a std::length_error or
// std::out_of_range first, and those classes bring the runtime's
// copy-on-write strings, its string instantiations and the exception
// classes' code with them: about 38 KB of a 170 KB program, all spent on a
// message that nobody reads before the abort. These definitions come before
// the runtime's archive at the link, so the linker takes them instead, and
// the outcome is the same: the process ends. A helper the runtime still had
// to supply would bring its whole object back and fail the link with a
// duplicate definition, so none can be missed silently.
#include <cstdlib>

#if defined(__GLIBCXX__)
#include <bits/functexcept.h>

namespace std {

void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_bad_function_call() { abort(); }

}  // namespace std
#endif
