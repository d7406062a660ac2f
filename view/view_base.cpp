// Message dispatch, vertex lists and the drawing primitives of the view.
#include "view/view_base.h"

#include <cstring>

#include "framework/d3dx_runtime.h"
#include "framework/errors.h"
#include "resources/dds_texture.h"

const DigitUV kDigitUV[9] = {
    {0.0f, 0.0f},     {kThird, 0.0f},     {2.0f / 3.0f, 0.0f},
    {0.0f, kThird},   {kThird, kThird},   {2.0f / 3.0f, kThird},
    {0.0f, 2.0f / 3.0f}, {kThird, 2.0f / 3.0f}, {2.0f / 3.0f, 2.0f / 3.0f},
};

namespace {

template <typename T>
void ReleaseOnce(T*& object) {
  if (object) {
    object->Release();
    object = nullptr;
  }
}

}  // namespace

ViewBase::ViewBase()
    : triangleBuffer(nullptr), quadBuffer(nullptr), texture(nullptr), triangleCount(0), quadCount(0) {
  ResetTriangles();
  ResetQuads();
}

ViewBase::~ViewBase() { ViewBase::ReleaseDeviceObjects(); }

HRESULT ViewBase::CreateDeviceObjects(IDirect3DDevice9* device) {
  if (!device) return E_FAIL;
  if (FAILED(device->CreateVertexBuffer(kTriangleBufferBytes, 0, kColoredVertexFvf, D3DPOOL_DEFAULT,
                                        &triangleBuffer, nullptr))) {
    triangleBuffer = nullptr;
    return E_FAIL;
  }
  if (FAILED(device->CreateVertexBuffer(kQuadBufferBytes, 0, kTexturedVertexFvf, D3DPOOL_DEFAULT,
                                        &quadBuffer, nullptr))) {
    quadBuffer = nullptr;
    ReleaseOnce(triangleBuffer);
    return E_FAIL;
  }
  return S_OK;
}

void ViewBase::Render(IDirect3DDevice9* device) {
  if (!device) return;
  DrawTriangles(device);
  DrawQuads(device);
}

void ViewBase::ReleaseDeviceObjects() {
  ReleaseOnce(triangleBuffer);
  ReleaseOnce(quadBuffer);
  ReleaseOnce(texture);
}

int ViewBase::OnCreate(LPARAM) { return 0; }
int ViewBase::OnClose() { return 0; }
int ViewBase::OnLeftButtonDown(short, short) { return 0; }
int ViewBase::OnLeftDoubleClick(short, short) { return 0; }
int ViewBase::OnRightButtonDown(short, short) { return 0; }
int ViewBase::OnRightDoubleClick(short, short) { return 0; }
int ViewBase::OnCommand(WORD) { return 0; }
int ViewBase::OnSize(WORD, WORD) { return 0; }
int ViewBase::OnKeyDown(WORD, bool) { return 0; }
int ViewBase::OnDpiChanged(int, const RECT&) { return 0; }

int ViewBase::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  const short x = static_cast<short>(LOWORD(lParam));
  const short y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_CREATE:
      return OnCreate(lParam);
    case WM_SIZE:
      return OnSize(LOWORD(lParam), HIWORD(lParam));
    case WM_CLOSE:
      return OnClose();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam));
    case WM_LBUTTONDOWN:
      return OnLeftButtonDown(x, y);
    case WM_LBUTTONDBLCLK:
      return OnLeftDoubleClick(x, y);
    case WM_RBUTTONDOWN:
      return OnRightButtonDown(x, y);
    case WM_RBUTTONDBLCLK:
      return OnRightDoubleClick(x, y);
    case WM_KEYDOWN:
      return OnKeyDown(LOWORD(wParam), (lParam & (LPARAM(1) << 30)) != 0);
    case WM_DPICHANGED:
      return lParam ? OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)) : 0;
    default:
      return 0;
  }
}

void ViewBase::ResetTriangles() {
  triangleCount = 0;
  std::memset(triangleVertices, 0, sizeof triangleVertices);
}

void ViewBase::ResetQuads() {
  quadCount = 0;
  std::memset(quadVertices, 0, sizeof quadVertices);
}

void ViewBase::AddRect(float x, float y, float z, float w, float h, D3DCOLOR colour) {
  if (triangleCount > kMaxTriangles - 2) return;
  const float r = x + w;
  const float b = y + h;
  ColoredVertex* v = &triangleVertices[triangleCount * 3];
  v[0] = {x, y, z, 1.0f, colour};
  v[1] = {r, b, z, 1.0f, colour};
  v[2] = {x, b, z, 1.0f, colour};
  v[3] = {x, y, z, 1.0f, colour};
  v[4] = {r, y, z, 1.0f, colour};
  v[5] = {r, b, z, 1.0f, colour};
  triangleCount += 2;
}

void ViewBase::AddTexturedRect(float x, float y, float z, float w, float h, D3DCOLOR colour,
                               float u, float v, float du, float dv) {
  if (quadCount >= kMaxQuads) return;
  const float r = x + w;
  const float b = y + h;
  const float u1 = u + du;
  const float v1 = v + dv;
  TexturedVertex* q = &quadVertices[quadCount * 6];
  q[0] = {x, y, z, 1.0f, colour, u, v};
  q[1] = {r, b, z, 1.0f, colour, u1, v1};
  q[2] = {x, b, z, 1.0f, colour, u, v1};
  q[3] = {x, y, z, 1.0f, colour, u, v};
  q[4] = {r, y, z, 1.0f, colour, u1, v};
  q[5] = {r, b, z, 1.0f, colour, u1, v1};
  quadCount += 1;
}

void ViewBase::AddTriangle(float x0, float y0, float x1, float y1, float x2, float y2, float z,
                           D3DCOLOR colour) {
  if (triangleCount >= kMaxTriangles) return;
  ColoredVertex* v = &triangleVertices[triangleCount * 3];
  v[0] = {x0, y0, z, 1.0f, colour};
  v[1] = {x1, y1, z, 1.0f, colour};
  v[2] = {x2, y2, z, 1.0f, colour};
  triangleCount += 1;
}

HRESULT ViewBase::LoadTexture(IDirect3DDevice9* device, const wchar_t* path) {
  if (!device || !path) return E_FAIL;
  // A reset that reloads the texture must not leak the one it replaces.
  ReleaseOnce(texture);
  IDirect3DTexture9* loaded = nullptr;
  HRESULT hr = FrameworkCreateTextureFromFile(device, path, &loaded);
  // Without the runtime the game reads the file itself, to the same texture.
  if (hr == FW_E_NOD3DXRUNTIME) hr = DdsCreateTextureFromFile(device, path, &loaded);
  if (FAILED(hr) || !loaded) return E_FAIL;
  texture = loaded;
  return S_OK;
}

void ViewBase::DrawTriangles(IDirect3DDevice9* device) {
  if (!device || !triangleBuffer) return;
  void* data = nullptr;
  if (FAILED(triangleBuffer->Lock(0, kTriangleBufferBytes, &data, 0)) || !data) return;
  std::memcpy(data, triangleVertices, kTriangleBufferBytes);
  triangleBuffer->Unlock();
  device->SetStreamSource(0, triangleBuffer, 0, sizeof(ColoredVertex));
  device->SetFVF(kColoredVertexFvf);
  device->SetTexture(0, nullptr);
  device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangleCount);
}

void ViewBase::DrawQuads(IDirect3DDevice9* device) {
  if (!device || !quadBuffer) return;
  void* data = nullptr;
  if (FAILED(quadBuffer->Lock(0, kQuadBufferBytes, &data, 0)) || !data) return;
  std::memcpy(data, quadVertices, kQuadBufferBytes);
  quadBuffer->Unlock();
  device->SetStreamSource(0, quadBuffer, 0, sizeof(TexturedVertex));
  device->SetFVF(kTexturedVertexFvf);
  device->SetTexture(0, texture);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, quadCount * 2);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}
