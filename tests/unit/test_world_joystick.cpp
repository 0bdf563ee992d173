// Joysticks: the functions over a fake platform backend (present and
// missing joysticks, conversions of axes, directions and point of view) and
// the joystick events of the step.
#include "platform/joystick.h"
#include "world_test_support.h"

namespace {

// Two joysticks whose presence and state the test sets.
struct FakeJoystick {
  bool present = false;
  std::string name;
  int axes = 0;
  int buttons = 0;
  bool pov = false;
  PlatformJoystickState state;
};

class FakeJoysticks final : public PlatformJoysticks {
 public:
  explicit FakeJoysticks(std::array<FakeJoystick, 2>& sticks) : sticks_(sticks) {}
  bool Exists(int j) override { return Get(j) != nullptr; }
  std::string Name(int j) override { return Get(j) ? Get(j)->name : ""; }
  int Axes(int j) override { return Get(j) ? Get(j)->axes : 0; }
  int Buttons(int j) override { return Get(j) ? Get(j)->buttons : 0; }
  bool HasPov(int j) override { return Get(j) && Get(j)->pov; }
  bool Read(int j, PlatformJoystickState& state) override {
    if (!Get(j)) return false;
    state = Get(j)->state;
    return true;
  }

 private:
  FakeJoystick* Get(int j) {
    if (j < 0 || j > 1 || !sticks_[static_cast<size_t>(j)].present) return nullptr;
    return &sticks_[static_cast<size_t>(j)];
  }
  std::array<FakeJoystick, 2>& sticks_;
};

class WorldJoystickTest : public worldtest::WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    previous_ = Platform_SetJoysticks(std::make_unique<FakeJoysticks>(sticks_));
  }
  void TearDown() override {
    Platform_SetJoysticks(std::move(previous_));
    WorldTest::TearDown();
  }

  RValue CallValue(const std::string& name, std::vector<double> values) {
    RValue result;
    std::vector<RValue> args;
    for (double v : values) args.push_back(RValue::Real(v));
    args.resize(16);
    const int index = Function_Find(name);
    EXPECT_GE(index, 0) << name;
    if (index < 0) return result;
    EXPECT_EQ(Function_Get(index).argc, static_cast<int>(values.size())) << name;
    Function_Get(index).routine(result, nullptr, nullptr, static_cast<int>(values.size()), args.data());
    return result;
  }
  double Call(const std::string& name, std::vector<double> values) { return CallValue(name, values).val; }

  FakeJoystick& Stick(int j) {
    FakeJoystick& s = sticks_[static_cast<size_t>(j)];
    s.present = true;
    return s;
  }

  std::array<FakeJoystick, 2> sticks_;
  std::unique_ptr<PlatformJoysticks> previous_;
};

TEST_F(WorldJoystickTest, MissingJoystickGivesNeutralResults) {
  struct Case {
    const char* name;
    std::vector<double> args;
    double expected;
  };
  const std::vector<Case> cases = {
      {"joystick_exists", {1}, 0},          {"joystick_axes", {1}, 0},
      {"joystick_buttons", {2}, 0},         {"joystick_has_pov", {2}, 0},
      {"joystick_check_button", {1, 1}, 0}, {"joystick_direction", {1}, 101},
      {"joystick_xpos", {1}, 0},            {"joystick_ypos", {2}, 0},
      {"joystick_zpos", {1}, 0},            {"joystick_rpos", {1}, 0},
      {"joystick_upos", {1}, 0},            {"joystick_vpos", {2}, 0},
      {"joystick_pov", {1}, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(Call(c.name, c.args), c.expected) << c.name;
  RValue name = CallValue("joystick_name", {2});
  EXPECT_TRUE(name.IsString());
  EXPECT_TRUE(name.str.empty());
}

TEST_F(WorldJoystickTest, ArgumentTwoSelectsSecondAnyOtherTheFirst) {
  FakeJoystick& first = Stick(0);
  first.name = "Pad One";
  first.axes = 4;
  first.buttons = 10;
  first.pov = true;
  FakeJoystick& second = Stick(1);
  second.name = "Stick Two";
  second.axes = 2;
  second.buttons = 3;
  for (double arg : {1.0, 0.0, 3.0, -2.0, 1.4}) {
    EXPECT_EQ(ToUtf8(CallValue("joystick_name", {arg}).str), "Pad One") << arg;
    EXPECT_EQ(Call("joystick_axes", {arg}), 4) << arg;
  }
  // Arguments are rounded like other integer arguments: 1.6 is 2.
  for (double arg : {2.0, 1.6}) EXPECT_EQ(ToUtf8(CallValue("joystick_name", {arg}).str), "Stick Two");
  EXPECT_EQ(Call("joystick_exists", {2}), 1);
  EXPECT_EQ(Call("joystick_axes", {2}), 2);
  EXPECT_EQ(Call("joystick_buttons", {1}), 10);
  EXPECT_EQ(Call("joystick_buttons", {2}), 3);
  EXPECT_EQ(Call("joystick_has_pov", {1}), 1);
  EXPECT_EQ(Call("joystick_has_pov", {2}), 0);
  // Only the second unplugged: the first still answers.
  second.present = false;
  EXPECT_EQ(Call("joystick_exists", {2}), 0);
  EXPECT_EQ(Call("joystick_exists", {1}), 1);
}

TEST_F(WorldJoystickTest, DirectionIsTheKeypadCodeOfTheAxes) {
  struct Case {
    int32_t x, y;
    double code;
  };
  const std::vector<Case> cases = {
      {0, 0, 103},         {32767, 0, 104},     {65535, 0, 105},
      {0, 32767, 100},     {32767, 32767, 101}, {65535, 32767, 102},
      {0, 65535, 97},      {32767, 65535, 98},  {65535, 65535, 99},
      {19999, 20000, 100}, {20000, 44000, 101}, {44001, 44001, 99},
      {44000, 19999, 104},
  };
  FakeJoystick& stick = Stick(1);
  for (const Case& c : cases) {
    stick.state.axis[0] = c.x;
    stick.state.axis[1] = c.y;
    EXPECT_EQ(Call("joystick_direction", {2}), c.code) << c.x << "," << c.y;
  }
}

TEST_F(WorldJoystickTest, AxisPositionsAndPointOfView) {
  FakeJoystick& stick = Stick(0);
  stick.state.axis = {0, 65534, 32767, 16383, 49151, 65535};
  const char* names[] = {"joystick_xpos", "joystick_ypos", "joystick_zpos",
                         "joystick_rpos", "joystick_upos", "joystick_vpos"};
  for (size_t a = 0; a < 6; ++a) {
    EXPECT_DOUBLE_EQ(Call(names[a], {1}), stick.state.axis[a] / 32767.0 - 1) << names[a];
  }
  EXPECT_EQ(Call("joystick_xpos", {1}), -1);
  EXPECT_EQ(Call("joystick_ypos", {1}), 1);
  EXPECT_EQ(Call("joystick_zpos", {1}), 0);
  struct Pov {
    int32_t value;
    double degrees;
  };
  for (const Pov& p : std::vector<Pov>{{0, 0}, {9000, 90}, {31500, 315}, {36000, 360},
                                       {36001, -1}, {65535, -1}}) {
    stick.state.pov = p.value;
    EXPECT_EQ(Call("joystick_pov", {1}), p.degrees) << p.value;
  }
}

TEST_F(WorldJoystickTest, CheckButtonCountsFromOne) {
  FakeJoystick& stick = Stick(1);
  stick.state.buttons = (1u << 0) | (1u << 7) | (1u << 31);
  struct Case {
    double button, held;
  };
  for (const Case& c : std::vector<Case>{{1, 1}, {2, 0}, {8, 1}, {32, 1}, {0, 0}, {33, 0}, {-1, 0}}) {
    EXPECT_EQ(Call("joystick_check_button", {2, c.button}), c.held) << c.button;
  }
  EXPECT_EQ(Call("joystick_check_button", {1, 1}), 0);
}

TEST_F(WorldJoystickTest, StepRaisesDirectionAndButtonEventsAfterKeyboard) {
  const int obj = AddObject("obj");
  for (int32_t n : {16, 17, 18, 19, 21, 22, 23, 24, 25, 26, 27, 28, 31, 32, 33, 34, 36, 37, 38, 39, 40,
                    41, 42, 43}) {
    On(obj, ev_mouse, n, "say('joy', " + std::to_string(n) + ");");
  }
  On(obj, ev_keyboard, 65, "say('key');");
  On(obj, ev_step, 0, "say('step');");
  AddRoom({Placed(obj, 0, 0, 100001)});
  StartGame();
  FakeJoystick& first = Stick(0);
  first.state.axis[0] = 0;      // left
  first.state.axis[1] = 65535;  // down
  first.state.buttons = (1u << 0) | (1u << 7) | (1u << 8);  // 1, 8 and 9 (no event)
  FakeJoystick& second = Stick(1);
  second.state.axis[0] = 44001;  // right
  second.state.axis[1] = 19999;  // up
  second.state.buttons = 1u << 1;
  Input_KeyDown(65);
  Steps(1);
  EXPECT_EQ(TakeOutput(), "key;joy 16;joy 19;joy 21;joy 28;joy 32;joy 33;joy 37;step;");
  // Centred, nothing held, second unplugged: no joystick events.
  first.state = PlatformJoystickState{};
  second.present = false;
  Input_KeyUp(65);
  Steps(1);
  EXPECT_EQ(TakeOutput(), "step;");
}

TEST_F(WorldJoystickTest, TransitionInAJoystickEventEndsTheStep) {
  const int obj = AddObject("obj");
  On(obj, ev_mouse, 21, "say('button'); room_goto_next();");
  On(obj, ev_mouse, 22, "say('never');");
  On(obj, ev_step, 0, "say('never');");
  AddRoom({Placed(obj, 0, 0, 100001)});
  AddRoom({});
  StartGame();
  Stick(0).state.buttons = 0b11;
  World_Step();
  EXPECT_EQ(TakeOutput(), "button;");
}

}  // namespace

namespace {

// The SDL backend answers for devices that cannot exist without touching
// any hardware state, and agrees with itself about present devices.
TEST(PlatformJoystickSdl, OutOfRangeJoysticksAreAbsentAndReadsMatchExists) {
  std::unique_ptr<PlatformJoysticks> sdl = CreateSdlJoystickBackend();
  PlatformJoystickState state;
  for (int j : {-1, 2, 7}) {
    EXPECT_FALSE(sdl->Exists(j)) << j;
    EXPECT_FALSE(sdl->Read(j, state)) << j;
    EXPECT_EQ(sdl->Name(j), "") << j;
    EXPECT_EQ(sdl->Axes(j), 0) << j;
  }
  for (int j : {0, 1}) EXPECT_EQ(sdl->Read(j, state), sdl->Exists(j)) << j;
}

}  // namespace
