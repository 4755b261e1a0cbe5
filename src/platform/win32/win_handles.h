#pragma once
// Owners for Win32 handles: each closes its handle exactly once.
#include <windows.h>

#include <utility>

namespace qlx::win {

template <typename H, typename Close, H Invalid>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Invalid));
    return *this;
  }
  ~UniqueHandle() { reset(); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid; }
  void reset(H h = Invalid) {
    if (h_ != Invalid) Close{}(h_);
    h_ = h;
  }
  H release() { return std::exchange(h_, Invalid); }

 private:
  H h_ = Invalid;
};

struct CloseHandleFn { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct FreeLibraryFn { void operator()(HMODULE h) const { ::FreeLibrary(h); } };
struct DeleteObjectFn { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct GlobalFreeFn { void operator()(HGLOBAL h) const { ::GlobalFree(h); } };

using Handle = UniqueHandle<HANDLE, CloseHandleFn, nullptr>;
using Module = UniqueHandle<HMODULE, FreeLibraryFn, nullptr>;
using Font = UniqueHandle<HGDIOBJ, DeleteObjectFn, nullptr>;
struct DestroyIconFn { void operator()(HICON h) const { ::DestroyIcon(h); } };
using Icon = UniqueHandle<HICON, DestroyIconFn, nullptr>;
struct DestroyMenuFn { void operator()(HMENU h) const { ::DestroyMenu(h); } };
using Menu = UniqueHandle<HMENU, DestroyMenuFn, nullptr>;
// Global memory; released to the clipboard, it belongs to the system.
using GlobalMemory = UniqueHandle<HGLOBAL, GlobalFreeFn, nullptr>;

// A view of a file mapping, unmapped when it goes.
class MappedView {
 public:
  MappedView() = default;
  explicit MappedView(void* p) : p_(p) {}
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;
  MappedView(MappedView&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  MappedView& operator=(MappedView&& o) noexcept {
    if (this != &o) {
      reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ~MappedView() { reset(); }
  uint8_t* bytes() const { return static_cast<uint8_t*>(p_); }
  explicit operator bool() const { return p_ != nullptr; }
  void reset() {
    if (p_) ::UnmapViewOfFile(p_);
    p_ = nullptr;
  }

 private:
  void* p_ = nullptr;
};

// A named block of paging-file-backed shared memory with its view.
struct NamedBlock {
  Handle mapping;
  MappedView view;
  uint8_t* bytes() const { return view.bytes(); }
  void Close() {
    view.reset();
    mapping.reset();
  }
};

enum class BlockError { None, NotCreated, NotMapped };

// Creates (or opens, when the name exists) a named block and maps all of it.
inline BlockError CreateNamedBlock(const char* name, DWORD size, NamedBlock& out) {
  HANDLE h = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
  if (!h) return BlockError::NotCreated;
  out.mapping.reset(h);
  void* v = ::MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, size);
  if (!v) return BlockError::NotMapped;
  out.view = MappedView(v);
  return BlockError::None;
}

// An entry point of a library loaded at run time, or null. Through a
// generic function type: FARPROC and the real signature differ.
template <typename Fn>
Fn BindProc(HMODULE module, const char* name) {
  FARPROC p = module ? ::GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(p));
}

inline uint32_t HandleField(HWND h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); }
inline HWND WindowFromField(uint32_t v) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<intptr_t>(static_cast<int32_t>(v))));
}

}  // namespace qlx::win
