// renderer_batch.cpp: the batching vertex buffer (see renderer_batch.h).
#include "graphics/renderer_batch.h"

int Batch_PrimitiveCount(int kind, int n) {
  if (n <= 0) return 0;
  switch (kind) {
    case PrimitivePointList: return n;
    case PrimitiveLineList: return n / 2;
    case PrimitiveLineStrip: return n - 1;
    case PrimitiveTriangleList: return n / 3;
    case PrimitiveTriangleStrip:
    case PrimitiveTriangleFan: return n >= 3 ? n - 2 : 0;
    default: return 0;
  }
}

void RBatch::Prepare(const RBatchState& state, int n) {
  if (!indices_.empty() &&
      (!(state == state_) || static_cast<int>(vertices_.size()) + n > kMaxVertices))
    Flush();
  state_ = state;
}

void RBatch::AddQuad(const RBatchState& state, const RVertex corners[4]) {
  Prepare(state, 4);
  const auto base = static_cast<uint16_t>(vertices_.size());
  vertices_.insert(vertices_.end(), corners, corners + 4);
  const uint16_t quad[6] = {base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
                            base, static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3)};
  indices_.insert(indices_.end(), quad, quad + 6);
}

void RBatch::AddPrimitive(const RBatchState& base_state, int kind, const RVertex* vertices,
                          int count) {
  const int primitives = Batch_PrimitiveCount(kind, count);
  if (primitives <= 0 || count > kMaxVertices) return;
  RBatchState state = base_state;
  state.mode = kind == PrimitivePointList                                   ? RBatchState::Points
               : (kind == PrimitiveLineList || kind == PrimitiveLineStrip) ? RBatchState::Lines
                                                                            : RBatchState::Triangles;
  Prepare(state, count);
  const auto base = static_cast<uint32_t>(vertices_.size());
  vertices_.insert(vertices_.end(), vertices, vertices + count);
  auto add = [&](int i) { indices_.push_back(static_cast<uint16_t>(base + i)); };
  for (int p = 0; p < primitives; ++p) {
    switch (kind) {
      case PrimitivePointList: add(p); break;
      case PrimitiveLineList: add(2 * p); add(2 * p + 1); break;
      case PrimitiveLineStrip: add(p); add(p + 1); break;
      case PrimitiveTriangleList: add(3 * p); add(3 * p + 1); add(3 * p + 2); break;
      case PrimitiveTriangleStrip: add(p); add(p + 1); add(p + 2); break;
      case PrimitiveTriangleFan: add(0); add(p + 1); add(p + 2); break;
    }
  }
}

void RBatch::Flush() {
  if (indices_.empty()) return;
  if (backend_ != nullptr)
    backend_->Draw(state_, vertices_.data(), static_cast<int>(vertices_.size()), indices_.data(),
                   static_cast<int>(indices_.size()));
  vertices_.clear();
  indices_.clear();
}
