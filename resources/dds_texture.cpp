// Reading a DDS file into memory, checking its format against the device,
// and copying the reader's levels into a new texture.
#include "resources/dds_texture.h"

#include <stdio.h>

#include <cstring>
#include <vector>

#include "resources/dds_reader.h"

namespace {

// The whole file, read in pieces so that nothing is allocated past
// kDdsMaxFileBytes whatever the file system says of its size. False for a
// file that cannot be opened or read, or that is larger.
bool ReadWholeFile(const wchar_t* path, std::vector<std::uint8_t>* bytes) {
  FILE* file = _wfopen(path, L"rb");
  if (!file) return false;
  constexpr std::size_t kPiece = 64 * 1024;
  bool whole = false;
  bytes->clear();
  while (bytes->size() <= kDdsMaxFileBytes) {
    const std::size_t used = bytes->size();
    bytes->resize(used + kPiece);
    const std::size_t got = fread(bytes->data() + used, 1, kPiece, file);
    bytes->resize(used + got);
    if (got < kPiece) {
      whole = !ferror(file) && bytes->size() <= kDdsMaxFileBytes;
      break;
    }
  }
  fclose(file);
  return whole;
}

// Whether the device can make a plain texture of `format` on its adapter, in
// the format of the current display mode.
bool DeviceTakesFormat(IDirect3DDevice9* device, D3DFORMAT format) {
  IDirect3D9* direct3d = nullptr;
  D3DDEVICE_CREATION_PARAMETERS creation;
  D3DDISPLAYMODE mode;
  if (FAILED(device->GetDirect3D(&direct3d)) || !direct3d) return false;
  const bool takes = SUCCEEDED(device->GetCreationParameters(&creation)) &&
                     SUCCEEDED(device->GetDisplayMode(0, &mode)) &&
                     SUCCEEDED(direct3d->CheckDeviceFormat(creation.AdapterOrdinal,
                                                           creation.DeviceType, mode.Format, 0,
                                                           D3DRTYPE_TEXTURE, format));
  direct3d->Release();
  return takes;
}

// Copies every level of `built` into `texture`, row by row at its pitch.
HRESULT CopyLevels(const DdsTexture& built, IDirect3DTexture9* texture) {
  for (int i = 0; i < built.levelCount; ++i) {
    const DdsLevel& level = built.levels[i];
    D3DLOCKED_RECT locked;
    const HRESULT hr = texture->LockRect(UINT(i), &locked, nullptr, 0);
    if (FAILED(hr)) return hr;
    if (!locked.pBits || locked.Pitch < INT(level.rowBytes)) {
      texture->UnlockRect(UINT(i));
      return E_FAIL;
    }
    for (std::uint32_t row = 0; row < level.rows; ++row) {
      std::memcpy(static_cast<std::uint8_t*>(locked.pBits) + std::size_t(locked.Pitch) * row,
                  built.pixels.data() + level.offset + std::size_t(level.rowBytes) * row,
                  level.rowBytes);
    }
    texture->UnlockRect(UINT(i));
  }
  return S_OK;
}

}  // namespace

HRESULT DdsCreateTextureFromFile(IDirect3DDevice9* device, const wchar_t* path,
                                 IDirect3DTexture9** texture) {
  if (texture) *texture = nullptr;
  if (!device || !path || !texture) return E_INVALIDARG;
  DdsTexture built;
  {
    std::vector<std::uint8_t> file;
    if (!ReadWholeFile(path, &file) || !DdsBuildTexture(file.data(), file.size(), &built)) {
      return E_FAIL;
    }
  }
  const D3DFORMAT format = static_cast<D3DFORMAT>(built.format);
  if (!DeviceTakesFormat(device, format)) return D3DERR_NOTAVAILABLE;
  IDirect3DTexture9* made = nullptr;
  HRESULT hr = device->CreateTexture(built.width, built.height, UINT(built.levelCount), 0, format,
                                     D3DPOOL_MANAGED, &made, nullptr);
  if (FAILED(hr) || !made) return FAILED(hr) ? hr : E_FAIL;
  hr = CopyLevels(built, made);
  if (FAILED(hr)) {
    made->Release();
    return hr;
  }
  *texture = made;
  return S_OK;
}
