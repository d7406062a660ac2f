// A program that damages its heap on purpose, one way per argument, so that
// the tests can show Wine's heap checks really catch each kind of fault.
#include <windows.h>

#include <cwchar>

namespace {

// Keeps the compiler from dropping writes to memory it knows is dead.
void Touch(volatile char* p, size_t count, char value) {
  for (size_t i = 0; i < count; ++i) p[i] = value;
}

}  // namespace

// overrun: writes one byte past a block; after-free: writes into a freed
// block; double-free: frees a block twice; new-overrun: runs past an array
// from operator new (the C runtime's heap). Returns 0 when it ran, 2 for an
// unknown argument.
int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HANDLE heap = GetProcessHeap();
  const wchar_t* fault = argv[1];
  if (std::wcscmp(fault, L"overrun") == 0) {
    char* p = static_cast<char*>(HeapAlloc(heap, 0, 24));
    Touch(p, 25, 'x');
    HeapFree(heap, 0, p);
  } else if (std::wcscmp(fault, L"after-free") == 0) {
    char* p = static_cast<char*>(HeapAlloc(heap, 0, 24));
    HeapFree(heap, 0, p);
    Touch(p, 24, 'y');
    HeapFree(heap, 0, HeapAlloc(heap, 0, 24));
  } else if (std::wcscmp(fault, L"double-free") == 0) {
    char* p = static_cast<char*>(HeapAlloc(heap, 0, 24));
    HeapFree(heap, 0, p);
    HeapFree(heap, 0, p);
  } else if (std::wcscmp(fault, L"new-overrun") == 0) {
    char* p = new char[24];
    Touch(p, 40, 'z');
    delete[] p;
    delete[] new char[24];
  } else {
    return 2;
  }
  HeapValidate(heap, 0, nullptr);
  return 0;
}
