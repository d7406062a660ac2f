// Message dispatch of the view base, and the vertex list primitives.
#include "view/view_base.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Records which handler ran with which arguments, and answers 7.
class RecordingView : public ViewBase {
 public:
  std::string last;
  int a = 0;
  int b = 0;
  LPARAM param = 0;
  int OnCreate(LPARAM p) override { return Note("create", 0, 0, p); }
  int OnClose() override { return Note("close", 0, 0, 0); }
  int OnLeftButtonDown(short x, short y) override { return Note("ldown", x, y, 0); }
  int OnLeftDoubleClick(short x, short y) override { return Note("ldbl", x, y, 0); }
  int OnRightButtonDown(short x, short y) override { return Note("rdown", x, y, 0); }
  int OnRightDoubleClick(short x, short y) override { return Note("rdbl", x, y, 0); }
  int OnCommand(WORD id) override { return Note("command", id, 0, 0); }
  int OnSize(WORD w, WORD h) override { return Note("size", w, h, 0); }
  int OnKeyDown(WORD key, bool repeated) override { return Note("key", key, repeated ? 1 : 0, 0); }

 private:
  int Note(const char* what, int x, int y, LPARAM p) {
    last = what;
    a = x;
    b = y;
    param = p;
    return 7;
  }
};

TEST(ViewBaseDispatch, EachListedMessageReachesItsHandlerWithDecodedArguments) {
  auto view = std::make_unique<RecordingView>();
  EXPECT_EQ(view->HandleMessage(nullptr, WM_CREATE, 0, 0x1234), 7);
  EXPECT_EQ(view->last, "create");
  EXPECT_EQ(view->param, 0x1234);

  EXPECT_EQ(view->HandleMessage(nullptr, WM_SIZE, 0, MAKELPARAM(500, 320)), 7);
  EXPECT_EQ(view->last, "size");
  EXPECT_EQ(view->a, 500);
  EXPECT_EQ(view->b, 320);

  EXPECT_EQ(view->HandleMessage(nullptr, WM_CLOSE, 0, 0), 7);
  EXPECT_EQ(view->last, "close");

  // The command identifier is the low word; the notification code is dropped.
  EXPECT_EQ(view->HandleMessage(nullptr, WM_COMMAND, MAKEWPARAM(40050, 1), 0), 7);
  EXPECT_EQ(view->last, "command");
  EXPECT_EQ(view->a, 40050);

  EXPECT_EQ(view->HandleMessage(nullptr, WM_KEYDOWN, 'Z', 0x002C0001), 7);
  EXPECT_EQ(view->last, "key");
  EXPECT_EQ(view->a, 'Z');
  EXPECT_EQ(view->b, 0);
  EXPECT_EQ(view->HandleMessage(nullptr, WM_KEYDOWN, VK_LEFT, 0x414B0001), 7);  // held down
  EXPECT_EQ(view->a, VK_LEFT);
  EXPECT_EQ(view->b, 1);

  const struct {
    UINT message;
    const char* handler;
  } presses[] = {{WM_LBUTTONDOWN, "ldown"}, {WM_LBUTTONDBLCLK, "ldbl"},
                 {WM_RBUTTONDOWN, "rdown"}, {WM_RBUTTONDBLCLK, "rdbl"}};
  for (const auto& press : presses) {
    EXPECT_EQ(view->HandleMessage(nullptr, press.message, MK_LBUTTON, MAKELPARAM(60, 40)), 7);
    EXPECT_EQ(view->last, press.handler);
    EXPECT_EQ(view->a, 60);
    EXPECT_EQ(view->b, 40);
  }
}

TEST(ViewBaseDispatch, MouseCoordinatesAreSignedAndSizesUnsigned) {
  auto view = std::make_unique<RecordingView>();
  view->HandleMessage(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(0xFFFB, 0x8000));
  EXPECT_EQ(view->a, -5);
  EXPECT_EQ(view->b, -32768);
  view->HandleMessage(nullptr, WM_SIZE, 0, MAKELPARAM(0xFFFF, 0x8000));
  EXPECT_EQ(view->a, 65535);
  EXPECT_EQ(view->b, 32768);
}

TEST(ViewBaseDispatch, OtherMessagesReachNoHandlerAndReturnZero) {
  auto view = std::make_unique<RecordingView>();
  const UINT others[] = {WM_MOUSEMOVE, WM_KEYUP,       WM_SYSKEYDOWN, WM_PAINT,
                         WM_DESTROY,   WM_MBUTTONDOWN, WM_LBUTTONUP,  WM_CHAR};
  for (UINT message : others) {
    EXPECT_EQ(view->HandleMessage(nullptr, message, 1, 2), 0) << message;
    EXPECT_EQ(view->last, "") << message;
  }
}

TEST(ViewBaseDispatch, BaseHandlersHandleNothing) {
  auto view = std::make_unique<ViewBase>();
  EXPECT_EQ(view->HandleMessage(nullptr, WM_CREATE, 0, 0), 0);
  EXPECT_EQ(view->HandleMessage(nullptr, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(view->HandleMessage(nullptr, WM_COMMAND, 40050, 0), 0);
  EXPECT_EQ(view->HandleMessage(nullptr, WM_SIZE, 0, MAKELPARAM(1, 1)), 0);
  EXPECT_EQ(view->HandleMessage(nullptr, WM_LBUTTONDOWN, 0, MAKELPARAM(50, 50)), 0);
  EXPECT_EQ(view->HandleMessage(nullptr, WM_KEYDOWN, 'Z', 0), 0);
  EXPECT_EQ(view->CreateDeviceObjects(nullptr), E_FAIL);
  view->Render(nullptr);
}

TEST(ViewBaseLists, AddRectWritesSixCornersInDrawingOrder) {
  auto view = std::make_unique<ViewBase>();
  view->AddRect(10.0f, 20.0f, 0.6f, 30.0f, 40.0f, 0xFF112233);
  ASSERT_EQ(view->TriangleCount(), 2);
  const float expected[6][2] = {{10, 20}, {40, 60}, {10, 60}, {10, 20}, {40, 20}, {40, 60}};
  for (int i = 0; i < 6; ++i) {
    const ColoredVertex& v = view->TriangleVertices()[i];
    EXPECT_EQ(v.x, expected[i][0]) << i;
    EXPECT_EQ(v.y, expected[i][1]) << i;
    EXPECT_EQ(v.z, 0.6f);
    EXPECT_EQ(v.rhw, 1.0f);
    EXPECT_EQ(v.colour, 0xFF112233u);
  }
  // Both triangles wind clockwise on the screen (y down), so the default
  // culling keeps them.
  for (int t = 0; t < 2; ++t) {
    const ColoredVertex* p = view->TriangleVertices() + 3 * t;
    float cross = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
    EXPECT_GT(cross, 0.0f) << t;
  }
}

TEST(ViewBaseLists, AddTexturedRectCarriesTextureCoordinatesWithTheCorners) {
  auto view = std::make_unique<ViewBase>();
  view->AddTexturedRect(16.0f, 48.0f, 0.5f, 32.0f, 32.0f, 0xFF0000C0, kThird, 2.0f / 3.0f, kThird, kThird);
  ASSERT_EQ(view->QuadCount(), 1);
  const TexturedVertex* q = view->QuadVertices();
  const float u0 = kThird, u1 = kThird + kThird, v0 = 2.0f / 3.0f, v1 = 2.0f / 3.0f + kThird;
  const float expected[6][4] = {{16, 48, u0, v0}, {48, 80, u1, v1}, {16, 80, u0, v1},
                                {16, 48, u0, v0}, {48, 48, u1, v0}, {48, 80, u1, v1}};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(q[i].x, expected[i][0]) << i;
    EXPECT_EQ(q[i].y, expected[i][1]) << i;
    EXPECT_EQ(q[i].u, expected[i][2]) << i;
    EXPECT_EQ(q[i].v, expected[i][3]) << i;
    EXPECT_EQ(q[i].z, 0.5f);
    EXPECT_EQ(q[i].rhw, 1.0f);
    EXPECT_EQ(q[i].colour, 0xFF0000C0u);
  }
}

TEST(ViewBaseLists, FullListsIgnoreFurtherAppends) {
  auto view = std::make_unique<ViewBase>();
  for (int i = 0; i < 255; ++i) view->AddRect(0, 0, 1, 1, 1, 0xFF000000);
  EXPECT_EQ(view->TriangleCount(), 510);
  view->AddRect(0, 0, 1, 1, 1, 0xFF000000);  // 510 still has room for two
  EXPECT_EQ(view->TriangleCount(), 512);
  view->AddRect(0, 0, 1, 1, 1, 0xFF000000);
  EXPECT_EQ(view->TriangleCount(), 512);
  view->ResetTriangles();
  for (int i = 0; i < 511; ++i) view->AddTriangle(0, 0, 1, 0, 1, 1, 0.5f, 1);
  view->AddRect(0, 0, 1, 1, 1, 0xFF000000);  // no room for two
  EXPECT_EQ(view->TriangleCount(), 511);
  view->AddTriangle(0, 0, 1, 0, 1, 1, 0.5f, 1);
  view->AddTriangle(0, 0, 1, 0, 1, 1, 0.5f, 1);
  EXPECT_EQ(view->TriangleCount(), 512);

  for (int i = 0; i < 1030; ++i) view->AddTexturedRect(0, 0, 0.5f, 1, 1, 1, 0, 0, 1, 1);
  EXPECT_EQ(view->QuadCount(), 1024);
}

TEST(ViewBaseLists, ResetsEmptyAndZeroFillTheWholeList) {
  auto view = std::make_unique<ViewBase>();
  view->AddRect(1, 2, 0.5f, 3, 4, 0xFFFFFFFF);
  view->AddTexturedRect(1, 2, 0.5f, 3, 4, 0xFFFFFFFF, 0.1f, 0.2f, 0.3f, 0.3f);
  view->ResetTriangles();
  view->ResetQuads();
  EXPECT_EQ(view->TriangleCount(), 0);
  EXPECT_EQ(view->QuadCount(), 0);
  const unsigned char* t = reinterpret_cast<const unsigned char*>(view->TriangleVertices());
  for (unsigned i = 0; i < kTriangleBufferBytes; ++i) ASSERT_EQ(t[i], 0) << i;
  const unsigned char* q = reinterpret_cast<const unsigned char*>(view->QuadVertices());
  for (unsigned i = 0; i < kQuadBufferBytes; ++i) ASSERT_EQ(q[i], 0) << i;
}

TEST(ViewBaseDevice, ReleasingWithoutObjectsOrTwiceIsHarmless) {
  auto view = std::make_unique<ViewBase>();
  view->ReleaseDeviceObjects();
  view->ReleaseDeviceObjects();
  EXPECT_FALSE(view->HasDeviceObjects());
  EXPECT_EQ(view->LoadTexture(nullptr, L"Number.dds"), E_FAIL);
  view->DrawTriangles(nullptr);
  view->DrawQuads(nullptr);
}

}  // namespace
