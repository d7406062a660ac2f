// Loading of the D3DX 9 runtime and the calls made through it.
#include "framework/d3dx_runtime.h"

#include "framework/errors.h"

const wchar_t kD3DXRuntimeName[] = L"d3dx9_31.dll";

namespace {

typedef BOOL(WINAPI* CheckVersionFn)(UINT d3dVersion, UINT d3dxVersion);
typedef HRESULT(WINAPI* CreateTextureFromFileFn)(IDirect3DDevice9* device, const wchar_t* path,
                                                 IDirect3DTexture9** texture);

// The loaded runtime and its entry points; all null until a load succeeds.
struct Runtime {
  HMODULE module;
  CheckVersionFn checkVersion;
  CreateTextureFromFileFn createTextureFromFile;
};
Runtime g_runtime = {nullptr, nullptr, nullptr};
const wchar_t* g_name = kD3DXRuntimeName;

template <typename Fn>
Fn LookUp(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

void Unload() {
  if (g_runtime.module) {
    FreeLibrary(g_runtime.module);
  }
  g_runtime = Runtime{nullptr, nullptr, nullptr};
}

}  // namespace

bool FrameworkLoadD3DXRuntime() {
  if (g_runtime.module) {
    return true;
  }
  HMODULE module = LoadLibraryW(g_name);
  if (!module) {
    return false;
  }
  Runtime loaded = {module, LookUp<CheckVersionFn>(module, "D3DXCheckVersion"),
                    LookUp<CreateTextureFromFileFn>(module, "D3DXCreateTextureFromFileW")};
  // A library of that name without the entry points is no runtime at all.
  if (!loaded.checkVersion || !loaded.createTextureFromFile) {
    FreeLibrary(module);
    return false;
  }
  g_runtime = loaded;
  return true;
}

HRESULT FrameworkCheckD3DXVersion(UINT d3dVersion, UINT d3dxVersion) {
  if (!FrameworkLoadD3DXRuntime()) {
    return S_OK;
  }
  return g_runtime.checkVersion(d3dVersion, d3dxVersion) ? S_OK : FW_E_INCORRECTVERSION;
}

HRESULT FrameworkCreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path,
                                       IDirect3DTexture9** texture) {
  if (!FrameworkLoadD3DXRuntime()) {
    if (texture) {
      *texture = nullptr;
    }
    return FW_E_NOD3DXRUNTIME;
  }
  return g_runtime.createTextureFromFile(device, path, texture);
}

void FrameworkSetD3DXRuntimeName(const wchar_t* name) {
  Unload();
  g_name = name ? name : kD3DXRuntimeName;
}
