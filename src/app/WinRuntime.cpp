// The C++ library's error hooks, replaced for SETUP.EXE. The library's own versions raise its
// std::logic_error family, which keeps the message in the library's reference-counted string and
// so links a second std::string implementation and a formatter (about 45 KB of the i686 release);
// its verbose terminate handler prints the exception's demangled type, which links the whole C++
// demangler (about 60 KB), for a GUI program that has no console to print to.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace {

// What the library raises when a container is misused or would grow past its maximum: a
// std::exception with the library's message, shown by the message loop's handler as any other.
class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* message) : message_(message) {}
  const char* what() const noexcept override { return message_; }

 private:
  const char* message_;
};

}  // namespace

namespace std {

void __throw_bad_alloc() {
  throw bad_alloc();
}

void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}

void __throw_length_error(const char* message) {
  throw LibraryError(message);
}

void __throw_logic_error(const char* message) {
  throw LibraryError(message);
}

// The message is the library's format, unformatted: the positions it names help no user.
void __throw_out_of_range_fmt(const char* format, ...) {
  throw LibraryError(format);
}

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
