// The C++ library's failure hooks, replaced for SETUP.EXE, which is built without exceptions. The
// library's own versions throw: its std::logic_error family keeps the message in the library's
// reference-counted string (a second std::string implementation and a formatter, about 45 KB of
// the i686 release), its verbose terminate handler links the whole C++ demangler (about 60 KB),
// and its operator new throws std::bad_alloc, which alone links the unwinder and its tables.
// Here a misused container or exhausted memory ends the program at once (exit code 3), before
// a run can go on from a state the program did not mean to reach.
#include <bits/functexcept.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void LibraryFailure() {
  std::abort();
}

void* Allocate(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) LibraryFailure();
  return memory;
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}

void* operator new[](std::size_t size) {
  return Allocate(size);
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

void operator delete[](void* memory) noexcept {
  std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace std {

void __throw_bad_alloc() {
  LibraryFailure();
}

void __throw_bad_array_new_length() {
  LibraryFailure();
}

void __throw_length_error(const char*) {
  LibraryFailure();
}

void __throw_logic_error(const char*) {
  LibraryFailure();
}

void __throw_out_of_range_fmt(const char*, ...) {
  LibraryFailure();
}

void __throw_bad_function_call() {
  LibraryFailure();
}

}  // namespace std

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  LibraryFailure();
}

}  // namespace __gnu_cxx
