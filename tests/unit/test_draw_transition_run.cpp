// Tests of a transition run on a recording device: the two pictures are
// drawn into surfaces, every frame blends them with the normal blend mode,
// and afterwards no surface, target or blend state is left behind. Also the
// kinds game code defines.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "code/builtin_variables.h"
#include "graphics/transition.h"
#include "runner/game_data.h"
#include "runner/runner_form.h"
#include "tests/unit/test_render_support.h"

namespace {

class DrawTransitionRun : public rendertest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    Renderer_SetRegionSize(64, 32, false);
    saved_steps_ = g_GameGlobals.transition_steps;
    saved_kind_ = RunnerForm().transition_kind;
  }
  void TearDown() override {
    Transition_Cancel();
    Transition_ClearDefinitions();
    g_GameGlobals.transition_steps = saved_steps_;
    RunnerForm().transition_kind = saved_kind_;
    RenderTest::TearDown();
  }
  int saved_steps_ = 0, saved_kind_ = 0;
};

TEST_F(DrawTransitionRun, BlendsTheTwoPicturesAndCleansUp) {
  RunnerForm().transition_kind = 20;
  g_GameGlobals.transition_steps = 3;
  Renderer_SetBlendMode(1);  // the game's own blend mode survives the run
  Transition_Begin();
  ASSERT_TRUE(Transition_Pending());
  EXPECT_EQ(Renderer_SurfaceTarget(), -1);  // the old room went into a surface, not the screen
  record.draws.clear();
  EXPECT_TRUE(Transition_Play());
  EXPECT_FALSE(Transition_Pending());
  EXPECT_EQ(Renderer_SurfaceTarget(), -1);
  EXPECT_EQ(Renderer_BlendSource(), 5);
  EXPECT_EQ(Renderer_BlendDestination(), 2);
  // Frames of the blend kind: quads from two textures, in the normal mode.
  std::set<int> textures;
  for (const rendertest::RDrawCall& d : Draws()) {
    if (d.state.texture < 0) continue;
    textures.insert(d.state.texture);
    EXPECT_EQ(d.state.source_factor, 5);
    EXPECT_EQ(d.state.destination_factor, 6);
  }
  EXPECT_EQ(textures.size(), 2u);
  for (int id = 0; id < 8; ++id) EXPECT_FALSE(Renderer_SurfaceExists(id)) << id;
  Renderer_SetBlendMode(0);
}

TEST_F(DrawTransitionRun, NoKindNoTransition) {
  for (int kind : {0, -3, 22}) {
    RunnerForm().transition_kind = kind;
    Transition_Begin();
    EXPECT_FALSE(Transition_Pending()) << kind;
    EXPECT_FALSE(Transition_Play()) << kind;
  }
}

TEST_F(DrawTransitionRun, DefinedKinds) {
  EXPECT_TRUE(Transition_Exists(1));
  EXPECT_TRUE(Transition_Exists(21));
  EXPECT_FALSE(Transition_Exists(22));
  EXPECT_FALSE(Transition_Define(22, u"no_such_script"));
  int script = Game().scripts.Add(std::make_unique<CScript>(), u"scr_wipe");
  EXPECT_TRUE(Transition_Define(22, u"scr_wipe"));
  EXPECT_TRUE(Transition_Exists(22));
  EXPECT_FALSE(Transition_Define(1000000, u"scr_wipe"));
  EXPECT_FALSE(Transition_Define(0, u"scr_wipe"));
  RunnerForm().transition_kind = 22;
  Transition_Begin();
  EXPECT_TRUE(Transition_Pending());
  Transition_ClearDefinitions();
  EXPECT_FALSE(Transition_Exists(22));
  Game().scripts.Delete(script);
}

}  // namespace
