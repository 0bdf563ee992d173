// renderer_batch.h: the batching vertex buffer. Consecutive draws with the
// same state become one indexed draw call; any state change, target change,
// read-back or present flushes first, so drawing order (and therefore every
// pixel) is the same as drawing each piece on its own.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/renderer_backend.h"

class RBatch {
 public:
  // Enough for 16-bit indices.
  static constexpr int kMaxVertices = 65536;

  explicit RBatch(RendererBackend* backend = nullptr) : backend_(backend) {}
  void SetBackend(RendererBackend* backend) { backend_ = backend; }

  // Four corners in fan order (top-left, top-right, bottom-right,
  // bottom-left), drawn as two triangles.
  void AddQuad(const RBatchState& state, const RVertex corners[4]);
  // A primitive of kind 1..6 (RPrimitiveKind); strips and fans become
  // indexed lists so that they batch too. Too few vertices draw nothing.
  void AddPrimitive(const RBatchState& state, int kind, const RVertex* vertices, int count);
  // Draws what is pending (nothing when empty).
  void Flush();
  bool Empty() const { return indices_.empty(); }
  const RBatchState& State() const { return state_; }

 private:
  // Makes room for n more vertices under this state: flushes when the state
  // differs or the buffer is full.
  void Prepare(const RBatchState& state, int n);

  RendererBackend* backend_;
  RBatchState state_;
  std::vector<RVertex> vertices_;
  std::vector<uint16_t> indices_;
};

// The primitive count of n vertices of a kind (0 for an unknown kind).
int Batch_PrimitiveCount(int kind, int n);
