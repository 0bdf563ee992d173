// test_switches.cpp: reads the automation switches from the environment.
#include "common/test_switches.h"

#include <cstdlib>

namespace {

TestSwitches g_switches;
bool g_read = false;

}  // namespace

int64_t TestSwitches_ParseCount(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  int64_t value = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return 0;
    if (value > (INT64_MAX - 9) / 10) return 0;  // absurdly large: no limit
    value = value * 10 + (*c - '0');
  }
  return value;
}

bool TestSwitches_ParseFlag(const char* text) { return TestSwitches_ParseCount(text) > 0; }

void TestSwitches_Read() {
  if (g_read) return;
  g_read = true;
  g_switches.headless = TestSwitches_ParseFlag(std::getenv("VEXLO_HEADLESS"));
  g_switches.fast = TestSwitches_ParseFlag(std::getenv("VEXLO_FAST"));
  g_switches.max_steps = TestSwitches_ParseCount(std::getenv("VEXLO_MAX_STEPS"));
  if (const char* out = std::getenv("VEXLO_AUDIO_OUT")) g_switches.audio_out = out;
  if (const char* log = std::getenv("VEXLO_FRAME_LOG")) g_switches.frame_log = log;
}

const TestSwitches& Test_Switches() { return g_switches; }
