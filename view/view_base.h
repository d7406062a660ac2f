// The base of the game's view: turns window messages into calls of virtual
// handlers, and owns the two vertex lists and the Direct3D objects through
// which everything is drawn.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "view/vertices.h"

class ViewBase {
 public:
  // Null device objects and both vertex lists empty and zero-filled.
  ViewBase();
  // Releases whatever device objects are still held.
  virtual ~ViewBase();
  ViewBase(const ViewBase&) = delete;
  ViewBase& operator=(const ViewBase&) = delete;

  // Creates the triangle buffer, then the quad buffer, in the default pool.
  // E_FAIL for a null device or when either creation fails; a buffer made
  // before the failure is released again, so a failure leaves none held.
  virtual HRESULT CreateDeviceObjects(IDirect3DDevice9* device);
  // Draws the triangle list, then the quad list. Nothing for a null device.
  virtual void Render(IDirect3DDevice9* device);
  // Releases the triangle buffer, the quad buffer and the texture, each only
  // if held, and sets each back to null; safe to call again.
  virtual void ReleaseDeviceObjects();

  // Message handlers; 1 handled, 0 not. The base handles nothing.
  virtual int OnCreate(LPARAM createParams);
  virtual int OnClose();
  // x and y are the client coordinates from the message, signed 16 bits.
  virtual int OnLeftButtonDown(short x, short y);
  virtual int OnLeftDoubleClick(short x, short y);
  virtual int OnRightButtonDown(short x, short y);
  virtual int OnRightDoubleClick(short x, short y);
  virtual int OnCommand(WORD id);
  // width and height are the new client size, unsigned 16 bits.
  virtual int OnSize(WORD width, WORD height);
  // key is the virtual-key code of a WM_KEYDOWN; repeated says the key was
  // already down (bit 30 of lParam): the keyboard's autorepeat.
  virtual int OnKeyDown(WORD key, bool repeated);
  // WM_DPICHANGED: the window's new dots per inch and the rectangle that
  // Windows suggests for it in screen coordinates.
  virtual int OnDpiChanged(int dpi, const RECT& suggested);

  // Calls the handler for WM_CREATE, WM_SIZE, WM_CLOSE, WM_COMMAND,
  // WM_KEYDOWN, WM_DPICHANGED and the left and right button press and double-click
  // messages, and returns its result; 0 for every other message. The window
  // handle is not used.
  int HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The lists: emptied and zero-filled by the resets, appended to by the
  // Add operations, which ignore appends once the list is full.
  void ResetTriangles();
  void ResetQuads();
  // Two triangles covering (x, y)-(x + w, y + h), in the order top-left,
  // bottom-right, bottom-left, top-left, top-right, bottom-right.
  void AddRect(float x, float y, float z, float w, float h, D3DCOLOR colour);
  // The same six corners with texture coordinates (u, v)-(u + du, v + dv).
  void AddTexturedRect(float x, float y, float z, float w, float h,
                       D3DCOLOR colour, float u, float v, float du, float dv);
  void AddTriangle(float x0, float y0, float x1, float y1, float x2, float y2,
                   float z, D3DCOLOR colour);

  // Loads the texture from a file: through the D3DX runtime with its
  // loader's default options, or with the game's own DDS reader when the
  // runtime is missing. E_FAIL for a null device or a file that cannot be
  // loaded. A texture held
  // before is released first.
  HRESULT LoadTexture(IDirect3DDevice9* device, const wchar_t* path);
  // Copy the whole list into its buffer and draw it. Nothing for a null
  // device, a missing buffer or a failed lock.
  void DrawTriangles(IDirect3DDevice9* device);
  void DrawQuads(IDirect3DDevice9* device);

  // Read access for drawing checks.
  int TriangleCount() const { return triangleCount; }
  int QuadCount() const { return quadCount; }
  const ColoredVertex* TriangleVertices() const { return triangleVertices; }
  const TexturedVertex* QuadVertices() const { return quadVertices; }
  bool HasDeviceObjects() const { return triangleBuffer || quadBuffer || texture; }

 protected:
  // Owned references, each released once and set back to null.
  IDirect3DVertexBuffer9* triangleBuffer;
  IDirect3DVertexBuffer9* quadBuffer;
  IDirect3DTexture9* texture;
  int triangleCount;
  ColoredVertex triangleVertices[kMaxTriangles * 3];
  int quadCount;
  TexturedVertex quadVertices[kMaxQuads * 6];
};
