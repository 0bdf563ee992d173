// test_render_support.h: a recording drawing device for renderer tests. It
// keeps every draw call, upload and clear the renderer core sends, and
// puts itself in place for the duration of a test.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "graphics/renderer_internal.h"

namespace rendertest {

struct RDrawCall {
  RBatchState state;
  std::vector<RVertex> vertices;
  std::vector<uint16_t> indices;
};

struct RUpload {
  int id, w, h;
  std::vector<uint32_t> pixels;
};

struct RRecord {
  std::vector<RDrawCall> draws;
  std::vector<RUpload> uploads;
  std::vector<int> targets;
  std::vector<std::vector<int>> copies;  // destination, x, y, source, left, top, w, h
  int clears = 0;
};

class RecordingBackend : public RendererBackend {
 public:
  explicit RecordingBackend(RRecord* record) : record_(record) {}
  bool IsReal() const override { return false; }
  bool CreateTexture(int, int, int, bool) override { return true; }
  void UploadTexture(int id, int w, int h, const uint32_t* argb) override {
    record_->uploads.push_back({id, w, h, std::vector<uint32_t>(argb, argb + w * h)});
  }
  void FreeTexture(int) override {}
  bool SetTarget(int texture) override {
    record_->targets.push_back(texture);
    return true;
  }
  void SetViewport(int, int, int, int) override {}
  void SetProjection(const RProjection&) override {}
  void Clear(uint32_t, bool) override { ++record_->clears; }
  void ClearDepth() override {}
  void Draw(const RBatchState& state, const RVertex* v, int n, const uint16_t* i,
            int ni) override {
    record_->draws.push_back({state, std::vector<RVertex>(v, v + n), std::vector<uint16_t>(i, i + ni)});
  }
  bool ReadPixels(int, int, int, int, uint32_t*) override { return false; }
  void CopyTexture(int d, int x, int y, int s, int l, int t, int w, int h) override {
    record_->copies.push_back({d, x, y, s, l, t, w, h});
  }
  bool EnsureBackBuffer(int, int) override { return true; }
  void Present(int, int, int, int, int, int, int, int, uint32_t, bool) override {}
  void ShowImage(const TBitmap32&, int, int) override {}
  int MaxTextureSize() const override { return 8192; }
  int64_t DrawCalls() const override { return static_cast<int64_t>(record_->draws.size()); }
  void ResetDrawCalls() override {}

 private:
  RRecord* record_;
};

// Installs a recording backend and resets the drawing state.
class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Renderer_UseBackend(std::make_unique<RecordingBackend>(&record));
    Renderer_SetColour(0);
    Renderer_SetAlpha(1);
    Renderer_SetBlendMode(0);
    Renderer_SetInterpolation(false);
    Renderer_SetTextureBlending(true);
    Renderer_SetTextureRepeat(false);
    Renderer_Set3DMode(false);
    for (int v = 0; v < kViewTransformCount; ++v) Renderer_ClearViewTransform(v);
  }
  void TearDown() override { Renderer_UseBackend(CreateNullBackend()); }

  // The draws sent so far (after a flush).
  const std::vector<RDrawCall>& Draws() {
    Renderer_Flush();
    return record.draws;
  }
  static int MakeTexture(int w, int h) { return Renderer_CreateTextureFromImage(TBitmap32(w, h)); }

  RRecord record;
};

}  // namespace rendertest
