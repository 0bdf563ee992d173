// renderer_null.cpp: the no-op drawing device, used when no OpenGL context
// can be made and before the renderer starts. Tables and state still work;
// nothing is drawn and read-back gives nothing.
#include "graphics/renderer_backend.h"

namespace {

class NullBackend : public RendererBackend {
 public:
  bool IsReal() const override { return false; }
  bool CreateTexture(int, int, int, bool) override { return true; }
  void UploadTexture(int, int, int, const uint32_t*) override {}
  void FreeTexture(int) override {}
  bool SetTarget(int) override { return true; }
  void SetViewport(int, int, int, int) override {}
  void SetProjection(const RProjection&) override {}
  void Clear(uint32_t, bool) override {}
  void ClearDepth() override {}
  void Draw(const RBatchState&, const RVertex*, int, const uint16_t*, int) override { ++calls_; }
  bool ReadPixels(int, int, int, int, uint32_t*) override { return false; }
  void CopyTexture(int, int, int, int, int, int, int, int) override {}
  bool EnsureBackBuffer(int, int) override { return true; }
  void Present(int, int, int, int, int, int, int, int, uint32_t, bool) override {}
  void ShowImage(const TBitmap32&, int, int) override {}
  int MaxTextureSize() const override { return 16384; }
  int64_t DrawCalls() const override { return calls_; }
  void ResetDrawCalls() override { calls_ = 0; }

 private:
  int64_t calls_ = 0;
};

}  // namespace

std::unique_ptr<RendererBackend> CreateNullBackend() { return std::make_unique<NullBackend>(); }
