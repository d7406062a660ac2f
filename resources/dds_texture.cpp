// Reading a DDS file into memory, checking its format against the device,
// and copying the reader's levels into a new texture.
#include "resources/dds_texture.h"

#include <stdio.h>

#include <cstring>
#include <vector>

#include "resources/dds_reader.h"

namespace {

// An open file, closed when this goes.
struct DdsFile {
  FILE* file;
  explicit DdsFile(const wchar_t* path) : file(_wfopen(path, L"rb")) {}
  ~DdsFile() {
    if (file) fclose(file);
  }
  DdsFile(const DdsFile&) = delete;
  DdsFile& operator=(const DdsFile&) = delete;
};

// Reads the header and, when the reader takes it, places the levels inside
// the file's size: nothing past the header is read for a file refused.
bool ReadHeader(FILE* file, DdsImage* image) {
  std::uint8_t header[kDdsDataOffset];
  if (fread(header, 1, sizeof header, file) != sizeof header) return false;
  if (_fseeki64(file, 0, SEEK_END) != 0) return false;
  const long long size = _ftelli64(file);
  if (size < static_cast<long long>(kDdsDataOffset)) return false;
  // Bytes beyond the largest file taken are never looked at.
  const std::size_t counted =
      size > static_cast<long long>(kDdsMaxFileBytes) ? kDdsMaxFileBytes : std::size_t(size);
  return DdsReadHeader(header, counted, image);
}

// The file's bytes from the start to the end of its last level.
bool ReadLevels(FILE* file, const DdsImage& image, std::vector<std::uint8_t>* bytes) {
  const DdsLevel& last = image.levels[image.levelCount - 1];
  const std::size_t end = last.offset + std::size_t(last.rowBytes) * last.rows;
  bytes->assign(end, 0);
  return _fseeki64(file, 0, SEEK_SET) == 0 && fread(bytes->data(), 1, end, file) == end;
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
  DdsFile file(path);
  DdsImage image;
  if (!file.file || !ReadHeader(file.file, &image)) return E_FAIL;
  // The first format the device makes, as the runtime picks one: the
  // file's own, or the 32-bit format with the same channels.
  std::uint32_t formats[4];
  const int formatCount = DdsTextureFormats(image, formats);
  std::uint32_t chosen = 0;
  for (int i = 0; i < formatCount && !chosen; ++i) {
    if (DeviceTakesFormat(device, static_cast<D3DFORMAT>(formats[i]))) chosen = formats[i];
  }
  if (!chosen) return D3DERR_NOTAVAILABLE;
  DdsTexture built;
  {
    std::vector<std::uint8_t> bytes;
    if (!ReadLevels(file.file, image, &bytes) || !DdsBuildTexture(bytes.data(), bytes.size(), &built, chosen)) {
      return E_FAIL;
    }
  }
  const D3DFORMAT format = static_cast<D3DFORMAT>(built.format);
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
