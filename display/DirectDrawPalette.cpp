// The palette wrapper.
#include "display/DirectDrawPalette.h"

#include <algorithm>

#include "display/DirectDraw.h"

TDirectDrawPalette::TDirectDrawPalette(TDirectDraw* owner) : owner_(owner) {
  owner_->Palettes.push_back(this);
}

TDirectDrawPalette::~TDirectDrawPalette() {
  if (palette_) palette_->Release();
  auto& list = owner_->Palettes;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool TDirectDrawPalette::CreatePalette(DWORD caps, const PALETTEENTRY* entries) {
  IDirectDrawPalette* made = nullptr;
  DXResult = owner_->IDraw()->CreatePalette(caps, entries, &made, nullptr);
  if (DXResult != DD_OK) return false;
  if (palette_) palette_->Release();
  palette_ = made;
  return true;
}

bool TDirectDrawPalette::GetEntries(DWORD start, DWORD count, PALETTEENTRY* entries) {
  if (!palette_) return false;
  DXResult = palette_->GetEntries(0, start, count, entries);
  return DXResult == DD_OK;
}

bool TDirectDrawPalette::SetEntries(DWORD start, DWORD count, const PALETTEENTRY* entries) {
  if (!palette_) return false;
  DXResult = palette_->SetEntries(0, start, count, entries);
  return DXResult == DD_OK;
}

IDirectDrawPalette* TDirectDrawPalette::IPalette() const {
  if (!palette_) throw EDirectDrawPaletteError(SNotMade("IDirectDrawPalette"));
  return palette_;
}
