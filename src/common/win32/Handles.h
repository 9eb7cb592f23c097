// Owners of Win32 handles and COM interfaces: each closes or releases what it holds when it goes
// out of scope.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace orv::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  bool valid() const { return handle_ != Traits::invalid(); }
  Handle release() {
    Handle handle = handle_;
    handle_ = Traits::invalid();
    return handle;
  }
  void reset() {
    if (valid()) Traits::close(handle_);
    handle_ = Traits::invalid();
  }

 private:
  Handle handle_ = Traits::invalid();
};

struct KernelHandleTraits {  // CreateMutex and friends: null when invalid
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static void close(Handle handle) { ::CloseHandle(handle); }
};

struct FileHandleTraits {  // CreateFile: INVALID_HANDLE_VALUE when invalid
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) { ::CloseHandle(handle); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static void close(Handle handle) { ::FindClose(handle); }
};

struct GdiObjectTraits {  // fonts and brushes
  using Handle = HGDIOBJ;
  static Handle invalid() { return nullptr; }
  static void close(Handle handle) { ::DeleteObject(handle); }
};

struct WindowTraits {
  using Handle = HWND;
  static Handle invalid() { return nullptr; }
  static void close(Handle handle) { ::DestroyWindow(handle); }
};

struct TaskMemoryTraits {  // memory the shell allocated with CoTaskMemAlloc (item id lists)
  using Handle = void*;
  static Handle invalid() { return nullptr; }
  static void close(Handle handle) { ::CoTaskMemFree(handle); }
};

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle invalid() { return nullptr; }
  static void close(Handle handle) { ::RegCloseKey(handle); }
};

template <typename Interface>
struct ComTraits {  // a COM interface pointer: released, not closed
  using Handle = Interface*;
  static Handle invalid() { return nullptr; }
  static void close(Handle handle) { handle->Release(); }
};

// COM for the calling thread, as a single-threaded apartment, until the end of the scope.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialized_;
};

template <typename Interface>
using ComPtr = UniqueHandle<ComTraits<Interface>>;
using KernelHandle = UniqueHandle<KernelHandleTraits>;
using RegistryKey = UniqueHandle<RegistryKeyTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using WindowHandle = UniqueHandle<WindowTraits>;
using TaskMemory = UniqueHandle<TaskMemoryTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace orv::win32
