// The clipper wrapper.
#include "display/DirectDrawClipper.h"

#include <algorithm>
#include <cstring>

#include "display/DirectDraw.h"

TDirectDrawClipper::TDirectDrawClipper(TDirectDraw* owner) : owner_(owner) {
  DXResult = owner_->IDraw()->CreateClipper(0, &clipper_, nullptr);
  if (DXResult != DD_OK || !clipper_) {
    clipper_ = nullptr;
    throw EDirectDrawClipperError(SCannotMade("Clipper"));
  }
  owner_->Clippers.push_back(this);
}

TDirectDrawClipper::~TDirectDrawClipper() {
  if (clipper_) clipper_->Release();
  auto& list = owner_->Clippers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TDirectDrawClipper::SetHandle(HWND window) { DXResult = IClipper()->SetHWnd(0, window); }

void TDirectDrawClipper::SetClipRects(const std::vector<RECT>& rects) {
  std::vector<BYTE> data(sizeof(RGNDATAHEADER) + sizeof(RECT) * rects.size());
  RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(rects.size()),
                       DWORD(sizeof(RECT) * rects.size()), {0, 0, 0, 0}};
  if (!rects.empty()) {
    header.rcBound = rects[0];
    for (const RECT& r : rects) {
      header.rcBound.left = std::min(header.rcBound.left, r.left);
      header.rcBound.top = std::min(header.rcBound.top, r.top);
      header.rcBound.right = std::max(header.rcBound.right, r.right);
      header.rcBound.bottom = std::max(header.rcBound.bottom, r.bottom);
    }
    std::memcpy(data.data() + sizeof header, rects.data(), sizeof(RECT) * rects.size());
  }
  std::memcpy(data.data(), &header, sizeof header);
  DXResult = IClipper()->SetClipList(reinterpret_cast<RGNDATA*>(data.data()), 0);
}

IDirectDrawClipper* TDirectDrawClipper::IClipper() const {
  if (!clipper_) throw EDirectDrawClipperError(SNotMade("IDirectDrawClipper"));
  return clipper_;
}
