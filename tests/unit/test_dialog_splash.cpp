// test_dialog_splash.cpp: splash windows driven with synthetic events:
// which input ends them under which settings, the timed end, the size an
// image adapts to, and the drawn colour and image.
#include <gtest/gtest.h>

#include <thread>

#include "dialogs/dialog_splash.h"

namespace {

PlatformEvent Ev(PlatformEvent::Kind kind, int key = 0, int x = 0, int y = 0) {
  PlatformEvent e;
  e.kind = kind;
  e.key = key;
  e.button = 1;
  e.x = x;
  e.y = y;
  return e;
}

TEST(DialogSplash, DialogSplashEndsAsTheSettingsSay) {
  struct Case {
    bool interrupt, stop_key, stop_mouse;
    PlatformEvent event;
    bool ends;
  } cases[] = {
      {true, false, false, Ev(PlatformEvent::KeyDown, 'A'), true},
      {false, false, false, Ev(PlatformEvent::KeyDown, 'A'), false},
      {false, true, false, Ev(PlatformEvent::KeyDown, 'A'), false},
      {false, true, false, Ev(PlatformEvent::KeyDown, 27), true},
      {false, false, false, Ev(PlatformEvent::KeyDown, 27), false},
      {false, false, true, Ev(PlatformEvent::MouseUp, 0, 5, 5), true},
      {false, false, false, Ev(PlatformEvent::MouseUp, 0, 5, 5), false},
      {false, false, false, Ev(PlatformEvent::Close), true},
  };
  for (const Case& c : cases) {
    RSplashSettings s;
    s.interrupt = c.interrupt;
    s.stop_key = c.stop_key;
    s.stop_mouse = c.stop_mouse;
    TSplashView v(s, std::vector<std::string>{"hello"}, 0);
    v.Layout(640, 480);
    v.HandleEvent(c.event);
    EXPECT_EQ(v.Closed(), c.ends) << c.interrupt << c.stop_key << c.stop_mouse << " " << c.event.key;
  }
  // The close box ends it even with every stop setting off.
  RSplashSettings s;
  s.interrupt = s.stop_key = s.stop_mouse = false;
  TSplashView v(s, std::vector<std::string>{"x"}, 0);
  v.Layout(640, 480);
  const TDialogRect b = v.close_box();
  ASSERT_FALSE(b.Empty());
  v.HandleEvent(Ev(PlatformEvent::MouseUp, 0, b.x + 1, b.y + 1));
  EXPECT_TRUE(v.Closed());
}

TEST(DialogSplash, DialogSplashTimedEnd) {
  RSplashSettings s;
  TSplashView v(s, std::vector<std::string>{"x"}, 30);
  EXPECT_FALSE(v.Closed());
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  EXPECT_TRUE(v.Closed());
}

TEST(DialogSplash, DialogSplashImageAndColour) {
  RSplashSettings s;
  s.border = false;
  s.colour = 0xFF0000;  // blue as a game colour
  TBitmap32 image(40, 20, Color32(255, 0, 0));
  TSplashView v(s, image, 0);
  TBitmap32 frame(320, 240);
  v.Draw(frame);
  // The area adapts to the image and is centred.
  EXPECT_EQ(v.area().w, 40);
  EXPECT_EQ(v.area().h, 20);
  EXPECT_EQ(v.area().x, 140);
  EXPECT_EQ(frame.s_data[static_cast<size_t>(v.area().y + 10) * 320 + v.area().x + 20], Color32(255, 0, 0));
  EXPECT_EQ(frame.s_data[0], 0u);
  // Not adapted: the set size, the image scaled into it on the colour.
  s.adapt = false;
  s.width = 200;
  s.height = 200;
  TSplashView sized(s, image, 0);
  sized.Draw(frame);
  const TDialogRect a = sized.area();
  EXPECT_EQ(a.w, 200);
  EXPECT_EQ(frame.s_data[static_cast<size_t>(a.y + 2) * 320 + a.x + 2], Color32(0, 0, 255));
  EXPECT_EQ(frame.s_data[static_cast<size_t>(a.y + 100) * 320 + a.x + 100], Color32(255, 0, 0));
}

}  // namespace
