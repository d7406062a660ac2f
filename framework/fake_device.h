// Test helper: a Direct3D 9 device that is no device. Its answers to the
// calls the framework makes (cooperative level, reset, present, release,
// cursor) are set by the test, and it counts what it was asked; every other
// call fails. Optionally it lends a real device for surface creation, so a
// cursor image can be read back.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

class FakeDevice : public IDirect3DDevice9 {
 public:
  // What the test controls.
  HRESULT cooperativeLevel = D3D_OK;
  HRESULT resetResult = D3D_OK;
  HRESULT presentResult = D3D_OK;
  // References the device pretends are left after the framework's release.
  ULONG extraReferences = 0;
  IDirect3DDevice9* surfaceSource = nullptr;  // borrowed
  // When set, a windowed reset of 0 x 0 gets this window's client size, as
  // the runtime fills it in; otherwise the parameters stay as given.
  HWND clientSizeSource = nullptr;

  // What the device saw.
  ULONG references = 1;
  int resetCalls = 0;
  int presentCalls = 0;
  int cooperativeCalls = 0;
  std::vector<std::pair<D3DRENDERSTATETYPE, DWORD>> renderStates;
  std::vector<DWORD> cursorPixels;  // copied from the last cursor surface
  UINT cursorWidth = 0;
  UINT cursorHeight = 0;
  UINT cursorHotSpotX = 0;
  UINT cursorHotSpotY = 0;
  int showCursorCalls = 0;
  D3DPRESENT_PARAMETERS lastReset{};

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    if (references > 0) --references;
    return references + extraReferences;
  }
  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override {
    ++cooperativeCalls;
    return cooperativeLevel;
  }
  HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* params) override {
    ++resetCalls;
    if (params == nullptr) return resetResult;
    lastReset = *params;
    RECT client{};
    if (clientSizeSource != nullptr && params->Windowed && params->BackBufferWidth == 0 &&
        params->BackBufferHeight == 0 && GetClientRect(clientSizeSource, &client)) {
      params->BackBufferWidth = static_cast<UINT>(client.right);
      params->BackBufferHeight = static_cast<UINT>(client.bottom);
    }
    return resetResult;
  }
  HRESULT STDMETHODCALLTYPE Present(const RECT*, const RECT*, HWND, const RGNDATA*) override {
    ++presentCalls;
    return presentResult;
  }
  HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* caps) override {
    if (caps == nullptr) return D3DERR_INVALIDCALL;
    *caps = D3DCAPS9{};
    caps->DeviceType = D3DDEVTYPE_HAL;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** direct3d) override {
    if (direct3d != nullptr) *direct3d = nullptr;
    return D3DERR_INVALIDCALL;
  }
  HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE,
                                          IDirect3DSurface9** surface) override {
    if (surface != nullptr) *surface = nullptr;
    return D3DERR_INVALIDCALL;
  }
  WINBOOL STDMETHODCALLTYPE ShowCursor(WINBOOL) override {
    ++showCursorCalls;
    return FALSE;
  }
  void STDMETHODCALLTYPE SetCursorPosition(int, int, DWORD) override {}
  HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    renderStates.emplace_back(state, value);
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                        D3DPOOL pool, IDirect3DSurface9** surface,
                                                        HANDLE* shared) override {
    if (surfaceSource == nullptr) {
      if (surface != nullptr) *surface = nullptr;
      return D3DERR_INVALIDCALL;
    }
    return surfaceSource->CreateOffscreenPlainSurface(width, height, format, pool, surface,
                                                      shared);
  }
  HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT x, UINT y,
                                                IDirect3DSurface9* bitmap) override {
    cursorHotSpotX = x;
    cursorHotSpotY = y;
    cursorPixels.clear();
    D3DSURFACE_DESC desc{};
    if (bitmap == nullptr || FAILED(bitmap->GetDesc(&desc))) return D3DERR_INVALIDCALL;
    cursorWidth = desc.Width;
    cursorHeight = desc.Height;
    D3DLOCKED_RECT locked{};
    if (FAILED(bitmap->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
    for (UINT row = 0; row < desc.Height; ++row) {
      const DWORD* line = reinterpret_cast<const DWORD*>(
          static_cast<const BYTE*>(locked.pBits) + row * locked.Pitch);
      cursorPixels.insert(cursorPixels.end(), line, line + desc.Width);
    }
    bitmap->UnlockRect();
    return D3D_OK;
  }

  // Every other call fails or answers nothing.
  UINT STDMETHODCALLTYPE GetAvailableTextureMem() override { return 0; }
  HRESULT STDMETHODCALLTYPE EvictManagedResources() override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT iSwapChain, D3DDISPLAYMODE* pMode) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS *pParameters) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* pPresentationParameters, IDirect3DSwapChain9** pSwapChain) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetSwapChain(UINT iSwapChain, IDirect3DSwapChain9** pSwapChain) override { return D3DERR_INVALIDCALL; }
  UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override { return 0; }
  HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT iSwapChain, D3DRASTER_STATUS* pRasterStatus) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetDialogBoxMode(WINBOOL bEnableDialogs) override { return D3DERR_INVALIDCALL; }
  void STDMETHODCALLTYPE SetGammaRamp(UINT swapchain_idx, DWORD flags, const D3DGAMMARAMP *ramp) override {  }
  void STDMETHODCALLTYPE GetGammaRamp(UINT iSwapChain, D3DGAMMARAMP* pRamp) override {  }
  HRESULT STDMETHODCALLTYPE CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DCubeTexture9** ppCubeTexture, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool, IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, WINBOOL Lockable, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample, DWORD MultisampleQuality, WINBOOL Discard, IDirect3DSurface9** ppSurface, HANDLE* pSharedHandle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9 *src_surface, const RECT *src_rect, IDirect3DSurface9 *dst_surface, const POINT *dst_point) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9* pSourceTexture, IDirect3DBaseTexture9* pDestinationTexture) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* pRenderTarget, IDirect3DSurface9* pDestSurface) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT iSwapChain, IDirect3DSurface9* pDestSurface) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9 *src_surface, const RECT *src_rect, IDirect3DSurface9 *dst_surface, const RECT *dst_rect, D3DTEXTUREFILTERTYPE filter) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9 *surface, const RECT *rect, D3DCOLOR color) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE BeginScene() override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE EndScene() override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE Clear(DWORD rect_count, const D3DRECT *rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9 *viewport) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* pViewport) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9 *material) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* pMaterial) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT9 *light) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetLight(DWORD Index, D3DLIGHT9*) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE LightEnable(DWORD Index, WINBOOL Enable) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD Index, WINBOOL* pEnable) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float *plane) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD Index, float* pPlane) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE Type, IDirect3DStateBlock9** ppSB) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE BeginStateBlock() override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9** ppSB) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9 *clip_status) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9* pClipStatus) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD* pValue) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD Stage, D3DTEXTURESTAGESTATETYPE Type, DWORD Value) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD* pValue) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD Sampler, D3DSAMPLERSTATETYPE Type, DWORD Value) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* pNumPasses) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT palette_idx, const PALETTEENTRY *entries) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT PaletteNumber,PALETTEENTRY* pEntries) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT PaletteNumber) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT *PaletteNumber) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT *rect) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* pRect) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(WINBOOL bSoftware) override { return D3DERR_INVALIDCALL; }
  WINBOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override { return FALSE; }
  HRESULT STDMETHODCALLTYPE SetNPatchMode(float nSegments) override { return D3DERR_INVALIDCALL; }
  float STDMETHODCALLTYPE GetNPatchMode() override { return 0.0f; }
  HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE PrimitiveType, UINT StartVertex, UINT PrimitiveCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT BaseVertexIndex, UINT MinVertexIndex, UINT NumVertices, UINT startIndex, UINT primCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE primitive_type, UINT primitive_count, const void *data, UINT stride) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE primitive_type, UINT min_vertex_idx, UINT vertex_count, UINT primitive_count, const void *index_data, D3DFORMAT index_format, const void *data, UINT stride) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE ProcessVertices(UINT SrcStartIndex, UINT DestIndex, UINT VertexCount, IDirect3DVertexBuffer9* pDestBuffer, IDirect3DVertexDeclaration9* pVertexDecl, DWORD Flags) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(const D3DVERTEXELEMENT9 *elements, IDirect3DVertexDeclaration9 **declaration) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9** ppDecl) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetFVF(DWORD FVF) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetFVF(DWORD* pFVF) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD *byte_code, IDirect3DVertexShader9 **shader) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* pShader) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** ppShader) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT reg_idx, const float *data, UINT count) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT StartRegister, float* pConstantData, UINT Vector4fCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT reg_idx, const int *data, UINT count) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT StartRegister, int* pConstantData, UINT Vector4iCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT reg_idx, const WINBOOL *data, UINT count) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT StartRegister, WINBOOL* pConstantData, UINT BoolCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes, UINT Stride) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9** ppStreamData, UINT* OffsetInBytes, UINT* pStride) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT StreamNumber, UINT Divider) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT StreamNumber, UINT* Divider) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* pIndexData) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** ppIndexData) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD *byte_code, IDirect3DPixelShader9 **shader) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* pShader) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9** ppShader) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT reg_idx, const float *data, UINT count) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT StartRegister, float* pConstantData, UINT Vector4fCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT reg_idx, const int *data, UINT count) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT StartRegister, int* pConstantData, UINT Vector4iCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT reg_idx, const WINBOOL *data, UINT count) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT StartRegister, WINBOOL* pConstantData, UINT BoolCount) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT handle, const float *segment_count, const D3DRECTPATCH_INFO *patch_info) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT handle, const float *segment_count, const D3DTRIPATCH_INFO *patch_info) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE DeletePatch(UINT Handle) override { return D3DERR_INVALIDCALL; }
  HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE Type, IDirect3DQuery9** ppQuery) override { return D3DERR_INVALIDCALL; }

};
