// test_dialog_chooser.cpp: the pop-up menu and the colour chooser driven
// with synthetic events: choosing by click and by keys, cancelling, placing
// inside the client area, a few pixels, and the builtins' answers through
// the modal loop.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialogs/dialog_draw.h"
#include "dialogs/dialog_files.h"
#include "dialogs/dialog_menu.h"
#include "dialogs/dialog_modal.h"
#include "platform/window.h"
#include "test_function_util.h"

namespace {

PlatformEvent Key(int key) {
  PlatformEvent e;
  e.kind = PlatformEvent::KeyDown;
  e.key = key;
  return e;
}
PlatformEvent Mouse(PlatformEvent::Kind kind, int x, int y) {
  PlatformEvent e;
  e.kind = kind;
  e.button = 1;
  e.x = x;
  e.y = y;
  return e;
}
PlatformEvent Click(const TDialogRect& r) { return Mouse(PlatformEvent::MouseUp, r.x + r.w / 2, r.y + r.h / 2); }

TEST(DialogMenu, DialogMenuItemsAndChoosing) {
  EXPECT_EQ(Dialog_MenuItems("a|b||c"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_EQ(Dialog_MenuItems(""), (std::vector<std::string>{""}));
  // Keys: Down skips the separator; Enter chooses.
  TDialogMenu keys({"Open", "-", "Save", "Quit"}, 10, 10);
  keys.Layout(640, 480);
  keys.HandleEvent(Key(40));
  keys.HandleEvent(Key(40));
  EXPECT_EQ(keys.highlighted(), 2);
  keys.HandleEvent(Key(38));
  keys.HandleEvent(Key(38));
  EXPECT_EQ(keys.highlighted(), 3);  // wraps past the top
  keys.HandleEvent(Key(13));
  EXPECT_TRUE(keys.Closed());
  EXPECT_EQ(keys.chosen(), 3);
  // A click on the separator does nothing, one outside closes without choice.
  TDialogMenu mouse({"Open", "-", "Save"}, 10, 10);
  mouse.Layout(640, 480);
  mouse.HandleEvent(Click(mouse.item_rects()[1]));
  EXPECT_FALSE(mouse.Closed());
  mouse.HandleEvent(Mouse(PlatformEvent::MouseUp, 600, 400));
  EXPECT_TRUE(mouse.Closed());
  EXPECT_EQ(mouse.chosen(), -1);
  // Near the corner the menu moves inside the client area.
  TDialogMenu corner({"One", "Two"}, 630, 470);
  corner.Layout(640, 480);
  EXPECT_LE(corner.frame().x + corner.frame().w, 640);
  EXPECT_LE(corner.frame().y + corner.frame().h, 480);
}

TEST(DialogMenu, DialogMenuPixels) {
  TDialogMenu menu({"Open", "Save"}, 50, 40);
  TBitmap32 frame(320, 240);
  menu.Layout(320, 240);
  const TDialogRect second = menu.item_rects()[1];
  menu.HandleEvent(Mouse(PlatformEvent::MouseMove, second.x + 3, second.y + 2));
  menu.Draw(frame);
  auto at = [&](int x, int y) { return frame.s_data[static_cast<size_t>(y) * frame.s_w + x]; };
  EXPECT_EQ(at(10, 10), 0u);
  EXPECT_EQ(at(menu.item_rects()[0].x + 1, menu.item_rects()[0].y + 1), kDialogListBack);
  EXPECT_EQ(at(second.x + 1, second.y + 1), 0xFF0078D7u);  // highlighted
}

TEST(DialogColor, DialogColorChooser) {
  // Start colour outside the palette: added last and selected.
  TColorChooser c(0x123456);
  c.Layout(640, 480);
  EXPECT_EQ(c.result(), 0x123456);
  c.HandleEvent(Click(c.swatches()[0]));  // black
  c.HandleEvent(Key(39));                 // one to the right: dark grey
  c.HandleEvent(Click(c.ok_button()));
  EXPECT_TRUE(c.Closed());
  EXPECT_EQ(c.result(), 0x404040);
  // Cancel keeps the start colour whatever was selected.
  TColorChooser cancel(255);
  cancel.Layout(640, 480);
  cancel.HandleEvent(Click(cancel.swatches()[5]));
  cancel.HandleEvent(Key(27));
  EXPECT_EQ(cancel.result(), 255);
  // Swatches show their colours.
  TBitmap32 frame(640, 480);
  TColorChooser red(255);
  red.Draw(frame);
  const TDialogRect r = red.swatches()[8];
  EXPECT_EQ(frame.s_data[static_cast<size_t>(r.y + r.h / 2) * 640 + r.x + r.w / 2], 0xFFFF0000u);
}

// The builtins in the modal loop of a window, the player scripted.
class DialogChooserModal : public ::testing::Test {
 protected:
  void SetUp() override {
    opened_ = !Platform_Window().MainIsOpen();
    if (opened_) Platform_Window().OpenMain(640, 480, "test");
    PlatformEvent e;
    while (Platform_Window().NextEvent(e)) {
    }
    presented = 0;
    Dialog_PresentHook = [](const TBitmap32&) {
      if (++presented == 1)
        for (const PlatformEvent& e : script) Platform_Window().PostEvent(e);
    };
    Dialog_ClientSizeHook = [](int& w, int& h) {
      w = 640;
      h = 480;
      return true;
    };
  }
  void TearDown() override {
    Dialog_PresentHook = nullptr;
    Dialog_ClientSizeHook = nullptr;
    if (opened_) Platform_Window().CloseMain();
  }
  static int presented;
  static std::vector<PlatformEvent> script;
  bool opened_ = false;
};
int DialogChooserModal::presented = 0;
std::vector<PlatformEvent> DialogChooserModal::script;

TEST_F(DialogChooserModal, DialogChooserBuiltins) {
  if (Dialog_Headless()) GTEST_SKIP();
  script = {Key(40), Key(40), Key(13)};
  EXPECT_EQ(CallBuiltin("show_menu", {S(u"a|b|c"), R(-1)}).val, 1);
  script = {Key(27)};
  presented = 0;
  EXPECT_EQ(CallBuiltin("show_menu_pos", {R(100), R(100), S(u"a|b|c"), R(7)}).val, 7);
  script = {Key(13)};
  presented = 0;
  EXPECT_EQ(CallBuiltin("get_color", {R(0x808080)}).val, 0x808080);
}

TEST(DialogChooserHeadless, DialogChooserDefaults) {
  if (Platform_Window().MainIsOpen()) GTEST_SKIP();
  testing::internal::CaptureStderr();
  EXPECT_EQ(CallBuiltin("show_menu", {S(u"Yes|No"), R(4)}).val, 4);
  EXPECT_EQ(CallBuiltin("get_color", {R(255)}).val, 255);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Yes\nNo\nColor\n");
}

}  // namespace

namespace {

namespace fs = std::filesystem;

PlatformEvent Char(char c) {
  PlatformEvent e;
  e.kind = PlatformEvent::TextChar;
  e.key = c;
  return e;
}

// A scratch folder with a subfolder and files of two kinds.
class DialogFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vexlo_browse_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
    for (const char* n : {"a.txt", "b.TXT", "c.png", "sub/d.txt"}) std::ofstream(dir_ / n) << "x";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Dir() const { return dir_.string() + "/"; }
  fs::path dir_;
};

TEST_F(DialogFilesTest, DialogFileBrowserListsAndChooses) {
  TFileBrowser open(TFileBrowser::Mode::Open, "Open", "Text|*.txt|All|*.*", Dir() + "a.txt");
  open.Layout(640, 480);
  EXPECT_EQ(open.folder(), Dir());
  EXPECT_EQ(open.entries(), (std::vector<std::string>{"../", "sub/", "a.txt", "b.TXT"}));
  EXPECT_EQ(open.name(), "a.txt");
  // A name that does not exist cannot be opened; the browser stays.
  open.HandleEvent(Char('x'));
  open.HandleEvent(Key(13));
  EXPECT_FALSE(open.Closed());
  // Into the subfolder by keys, then its file by a click.
  open.HandleEvent(Key(40));
  open.HandleEvent(Key(40));
  open.HandleEvent(Key(13));
  EXPECT_EQ(open.folder(), Dir() + "sub/");
  open.Layout(640, 480);
  ASSERT_EQ(open.entries(), (std::vector<std::string>{"../", "d.txt"}));
  open.HandleEvent(Click(open.rows()[1]));
  open.HandleEvent(Key(13));
  EXPECT_TRUE(open.Closed());
  EXPECT_EQ(open.result(), Dir() + "sub/d.txt");
  // Saving takes a new name; Escape gives "".
  TFileBrowser save(TFileBrowser::Mode::Save, "Save As", "", Dir());
  for (char c : std::string("new.sav")) save.HandleEvent(Char(c));
  save.HandleEvent(Key(13));
  EXPECT_EQ(save.result(), Dir() + "new.sav");
  TFileBrowser cancel(TFileBrowser::Mode::Save, "Save As", "", Dir());
  cancel.HandleEvent(Key(27));
  EXPECT_TRUE(cancel.Closed());
  EXPECT_EQ(cancel.result(), "");
  // Folders only, and the folder itself is the answer.
  TFileBrowser dir(TFileBrowser::Mode::Directory, "Select Directory", "", Dir());
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"../", "sub/"}));
  dir.HandleEvent(Key(13));
  EXPECT_EQ(dir.result(), Dir());
}

TEST(DialogFilesHeadless, DialogFileBrowserDefaults) {
  if (Platform_Window().MainIsOpen()) GTEST_SKIP();
  testing::internal::CaptureStderr();
  EXPECT_EQ(CallBuiltin("get_open_filename", {S(u"Text|*.txt"), S(u"")}).str, u"");
  EXPECT_EQ(CallBuiltin("get_directory_alt", {S(u"Pick one"), S(u"")}).str, u"");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Open\nPick one\n");
}

}  // namespace
